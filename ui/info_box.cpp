// info_box.cpp - the Help and About boxes.
#include "ui/info_box.h"

#include "resources/resource.h"

INT_PTR CALLBACK InfoBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_OK)
        SendMessageA(box, WM_CLOSE, 0, 0);
    else if (message == WM_CLOSE)
        EndDialog(box, 0);
    return 0;
}
