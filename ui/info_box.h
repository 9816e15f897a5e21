// info_box.h - the Help and About boxes.
#pragma once

#include <windows.h>

// Dialog procedure of the HELP and ABOUT boxes: only the OK button
// (IDC_OK) or a close request ends them; the standard IDOK and IDCANCEL
// (Enter, Escape) are ignored. Returns 0 for every message.
INT_PTR CALLBACK InfoBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
