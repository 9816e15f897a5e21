// main_window.cpp - the main window procedure and the routines that belong
// to the main window itself.
#include "app/main_window.h"

#include "document/document.h"
#include "document/scroll.h"
#include "resources/instance.h"
#include "resources/resource.h"
#include "search/search.h"
#include "ui/edit.h"
#include "ui/font.h"
#include "ui/info_box.h"

#include <commdlg.h>
#include <shellapi.h>

namespace {

void ShowInfoBox(HWND window, const char* name)
{
    DialogBoxParamA(instanceHandle, name, window, InfoBoxProc, 0);
}

// One line a command, each a call into the folder that owns the work.
void RunCommand(HWND window, UINT id)
{
    switch (id) {
    case CMD_OPEN: ChooseAndOpenFile(window); break;
    case CMD_SAVE: SaveAndReport(window); break;
    case CMD_EXIT: SendMessageA(window, WM_CLOSE, 0, 0); break;
    case CMD_JUMP: JumpToAddress(window); break;
    case CMD_FIND_HEX: EnterHexPattern(window); break;
    case CMD_FIND_TEXT: EnterTextPattern(window); break;
    case CMD_FIND_NEXT: RunSearch(window); break;
    case CMD_FIND_ABORT: StopSearch(); break;
    case CMD_FONT: ChooseViewFont(window); break;
    case CMD_ENTER_DECIMAL: EnterDecimalPattern(window); break;
    case CMD_EDIT_HEX: EditHexAtTop(window); break;
    case CMD_EDIT_TEXT: EditTextAtTop(window); break;
    case CMD_HELP_TOPICS: ShowInfoBox(window, NAME_HELP); break;
    case CMD_ABOUT: ShowInfoBox(window, NAME_ABOUT); break;
    default: break;
    }
}

// A close request during a search only stops the search. Otherwise the
// file is closed without a save question and the window destroyed.
void CloseMainWindow(HWND window)
{
    if (searchActive) {
        StopSearch();
        return;
    }
    CloseDocument();
    DestroyWindow(window);
}

} // namespace

HWND CreateMainWindow()
{
    HWND window = CreateDialogParamA(instanceHandle, NAME_DIALOG, GetActiveWindow(),
                                     MainDialogProc, 0);
    if (window == nullptr)
        return nullptr;
    SendMessageA(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(instanceHandle, NAME_ICON)));
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    // The template's system-modal style made the window top-most; both calls
    // take that away, and the second sets the outer size to the client size
    // that the template gave.
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, width, height, SWP_NOMOVE);
    return window;
}

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        DragAcceptFiles(window, TRUE);
        WatchViewRelease(window);
        return 0;
    case WM_SIZE:
        LayoutChildren(window, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_VSCROLL:
        ScrollView(window, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        ScrollByWheel(window, GET_WHEEL_DELTA_WPARAM(wParam));
        return 1;
    case WM_COMMAND:
        RunCommand(window, LOWORD(wParam));
        return 0;
    case WM_SETCURSOR:
        NotePointerEvent(window, reinterpret_cast<HWND>(wParam), HIWORD(lParam));
        return 0;
    case WM_DROPFILES:
        OpenDroppedFiles(window, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CLOSE:
        CloseMainWindow(window);
        return 1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 1;
    default:
        return 0;
    }
}

void LayoutChildren(HWND window, int width, int height)
{
    const int viewWidth = width > SCROLL_BAR_WIDTH ? width - SCROLL_BAR_WIDTH : 0;
    SetWindowPos(GetDlgItem(window, IDC_VIEW), nullptr, 0, 0, viewWidth, height, 0);
    HWND scrollBar = GetDlgItem(window, IDC_SCROLL);
    SetWindowPos(scrollBar, nullptr, width - SCROLL_BAR_WIDTH, 0, SCROLL_BAR_WIDTH, height, 0);
    // A scroll bar that only moved (the window got wider, not taller) keeps
    // the bits copied from its old place, which Wine does not draw again
    // there: it is drawn anew wherever it now stands.
    RedrawWindow(scrollBar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void ChooseAndOpenFile(HWND window)
{
    char path[PATH_BUFFER_SIZE] = "";
    OPENFILENAMEA dialog;
    ZeroMemory(&dialog, sizeof dialog);
    // The record without the later extension fields.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = window;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    if (GetOpenFileNameA(&dialog))
        OpenDocument(window, path, (dialog.Flags & OFN_READONLY) != 0); // the read-only box
}

void OpenDroppedFiles(HWND window, HDROP drop)
{
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[PATH_BUFFER_SIZE];
        if (DragQueryFileA(drop, i, path, sizeof path) == 0)
            path[0] = '\0';
        OpenDocument(window, path);
    }
    DragFinish(drop);
}
