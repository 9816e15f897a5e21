// scroll.h - moving the top offset: scroll-bar requests and the jump.
#pragma once

#include <windows.h>

// Handles one scroll-bar request (code and thumb position from WM_VSCROLL).
// With no document open it does nothing; otherwise it asks the save
// question first while the window is modified, whatever the code, then
// moves topOffset, and reloads and renders only when the line changed.
void ScrollView(HWND window, unsigned code, unsigned position);

// Asks for a hexadecimal offset (the save question first while modified)
// and shows its line: the last line for an offset beyond the end. An
// answer that is not a hexadecimal number moves nothing.
void JumpToAddress(HWND window);
