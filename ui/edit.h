// edit.h - changing bytes in place: a click into the view edits the bytes
// from the one under the caret, two commands edit the bytes from topOffset.
// The answer of the input box goes straight into the Document's window;
// the file is written only by a save.
#pragma once

#include <windows.h>

// The window that got the last left-button press over the main window or
// one of its children, until the click ends; null at start. Compared by
// identity only.
extern HWND pressedWindow;

// Runs for every pointer notice (WM_SETCURSOR) of the main window: pointed
// is the window under the pointer, message the pointer message. A press
// remembers pointed; the first movement after it ends the click, and edits
// at the caret when both name the view.
void NotePointerEvent(HWND mainWindow, HWND pointed, UINT message);

// Makes the release of the left button end a click too, as the movement
// notice that usually follows it does (and sometimes does not): a release
// over the view after a press on it edits at the caret, any other release
// forgets the press. Either way one click edits at most once.
void WatchViewRelease(HWND mainWindow);

// Forgets the press and the view's own procedure, as at start: for a main
// window that is gone.
void ForgetPointerState();

// Opens the input box for the bytes from the one under the view's caret:
// pairs for the hexadecimal zone, text for the character zone. Does nothing
// without an open file, for a selection, or for a caret outside both zones
// or on a cell beyond the file's end. When the view's text was changed by
// typing, it renders the view again instead and opens no box.
void EditAtCaret(HWND mainWindow);

// Open the input box for the 8 bytes at topOffset (fewer near the end of
// the file), as pairs or as text; nothing without an open file.
void EditHexAtTop(HWND mainWindow);
void EditTextAtTop(HWND mainWindow);
