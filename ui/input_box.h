// input_box.h - the one modal box that asks the user for a line of text.
#pragma once

#include "ui/edit_answer.h"

#include <windows.h>

// The state of the open box; there is only ever one.
struct InputBoxState {
    HFONT boxFont;  // the owner's font, borrowed, never released here
    bool boxResult; // true once OK was pressed
    const char* boxTitle;
    const char* boxLabel;
    char* boxText;        // the caller's buffer: initial text in, answer out
    unsigned boxCapacity; // its size, NUL included
};

extern InputBoxState inputBox;

// Shows the INPUTBOX dialog owned by owner with title, label and the initial
// text of text, in the owner's font. Returns true when the user pressed OK:
// text then holds the field, cut to capacity - 1 bytes and a NUL; false on
// Cancel, the close box, or when the box cannot be made, text untouched.
// Enter and Escape do not close the box.
[[nodiscard]] bool ShowInputBox(HWND owner, const char* title, const char* label, char* text,
                                unsigned capacity);

// How the box treats the characters of the ANSI code page: its lead bytes,
// and what it hands back for a character left alone (the character's trip
// through the box's UTF-16 text).
const BoxCharacters& InputBoxCharacters();

// Dialog procedure of the box; returns 0 for every message.
INT_PTR CALLBACK InputBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
