// ui_state.cpp - the reset of the user interface's state.
#include "ui/ui_state.h"

#include "ui/edit.h"
#include "ui/font.h"
#include "ui/input_box.h"

void ResetUiState()
{
    inputBox = {};
    ForgetPointerState();
    ForgetChosenFont();
}
