// render.h - puts the dump of the Document into the main window's view.
#pragma once

#include <windows.h>

// Moves the scroll thumb to topOffset >> scrollShift, redrawing the bar,
// when it stands elsewhere (a thumb that stays is not redrawn), and replaces
// the view text with the header and the dump of the bytes shown at
// topOffset. With no document open the view becomes empty and the thumb
// stays where it is.
void RenderView(HWND mainWindow);

// Whether the view's text is the dump that RenderView puts there for the
// Document as it is: false when the user typed something into it that
// changed it. No file open counts as the empty text.
bool ViewShowsDump(HWND mainWindow);
