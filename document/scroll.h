// scroll.h - moving the top offset: scroll-bar requests and the jump.
#pragma once

#include <windows.h>

// Handles one scroll-bar request (code and thumb position from WM_VSCROLL).
// With no document open it does nothing; the end notice (SB_ENDSCROLL)
// moves nothing and asks nothing. Any other request asks the save question
// first while the window is modified, then moves topOffset, and reloads
// and renders only when the line changed. When the save that the question
// asked for fails, nothing moves: the edits stay on screen, and the
// requests that follow, up to the bar's end notice, ask nothing and move
// nothing: one press of the bar asks once.
// A request that a press on the scroll bar sent and that showed the save
// question ends the bar's tracking of that press: it moves the view once.
void ScrollView(HWND mainWindow, unsigned code, unsigned position);

// A new press of the left button on the scroll bar: whatever an earlier
// press refused, its requests are handled afresh.
void NoteScrollBarPress();

// Moves the view for a turn of the mouse wheel by delta (WM_MOUSEWHEEL's,
// positive towards the start of the file) as far as that many line
// requests of ScrollView would, as many as the system's wheel setting
// gives (a page request a notch for its "scroll a page" setting): the save
// question comes once, every rule of the requests holds, and the view is
// reloaded and rendered once. Fractions of a notch add up across calls; a
// turn that makes no whole line asks and moves nothing.
void ScrollByWheel(HWND mainWindow, int delta);

// Forgets the fraction of a notch that earlier turns left and a refused
// press of the bar, as at start.
void ForgetScrollState();

// Asks for a hexadecimal offset (the save question first while modified;
// nothing more when the save fails) and shows its line: the last line for an offset beyond the end.
// An answer that is not a hexadecimal number moves nothing.
void JumpToAddress(HWND mainWindow);
