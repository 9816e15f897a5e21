// font.h - the font of the dump view.
#pragma once

#include <windows.h>

// Lets the user choose the view's font in the font dialog, opened on the
// view's present font. On OK the view gets a new font made from the choice
// (underline and strike-out included, the colour ignored) and the main
// window is drawn again; the font of an earlier choice is released then,
// the template's font never. Its height in pixels follows from the size
// in points at the window's scale. Cancel changes nothing.
void ChooseViewFont(HWND mainWindow);

// Makes the chosen font anew for the window's present scale (its size in
// points stays); the template's font, which the dialog scales, is left as it
// is.
void ScaleViewFont(HWND mainWindow);

// Releases the font of the last choice and forgets it, as at start: for a
// view that is gone.
void ForgetChosenFont();
