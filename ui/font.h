// font.h - the font of the dump view.
#pragma once

#include <windows.h>

// Lets the user choose the view's font in the font dialog, opened on the
// view's present font. On OK the view gets a new font made from the choice
// (underline and strike-out included, the colour ignored) and the main
// window is drawn again; the font of an earlier choice is released then,
// the template's font never. Cancel changes nothing.
void ChooseViewFont(HWND mainWindow);

// Releases the font of the last choice and forgets it, as at start: for a
// view that is gone.
void ForgetChosenFont();
