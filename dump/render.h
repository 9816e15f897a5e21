// render.h - puts the dump of the Document into the main window's view.
#pragma once

#include <windows.h>

// Moves the scroll thumb to topOffset >> scrollShift and replaces the view
// text with the header and the dump of the bytes shown at topOffset. With no
// document open the view becomes empty and the thumb stays where it is.
void RenderView(HWND window);
