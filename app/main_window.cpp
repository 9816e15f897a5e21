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

void ShowInfoBox(HWND mainWindow, const char* name)
{
    DialogBoxParamA(instanceHandle, name, mainWindow, InfoBoxProc, 0);
}

// One line a command, each a call into the folder that owns the work.
void RunCommand(HWND mainWindow, UINT id)
{
    switch (id) {
    case CMD_OPEN: ChooseAndOpenFile(mainWindow); break;
    case CMD_SAVE: SaveAndReport(mainWindow); break;
    case CMD_EXIT: SendMessageA(mainWindow, WM_CLOSE, 0, 0); break;
    case CMD_JUMP: JumpToAddress(mainWindow); break;
    case CMD_FIND_HEX: EnterHexPattern(mainWindow); break;
    case CMD_FIND_TEXT: EnterTextPattern(mainWindow); break;
    case CMD_FIND_NEXT: RunSearch(mainWindow); break;
    case CMD_FIND_ABORT: StopSearch(); break;
    case CMD_FONT: ChooseViewFont(mainWindow); break;
    case CMD_ENTER_DECIMAL: EnterDecimalPattern(mainWindow); break;
    case CMD_EDIT_HEX: EditHexAtTop(mainWindow); break;
    case CMD_EDIT_TEXT: EditTextAtTop(mainWindow); break;
    case CMD_HELP_TOPICS: ShowInfoBox(mainWindow, NAME_HELP); break;
    case CMD_ABOUT: ShowInfoBox(mainWindow, NAME_ABOUT); break;
    default: break;
    }
}

// A pointer notice: the view's clicks, and the start of a press on the
// scroll bar.
void NotePointer(HWND mainWindow, HWND pointed, UINT message)
{
    if (message == WM_LBUTTONDOWN && pointed == GetDlgItem(mainWindow, IDC_SCROLL))
        NoteScrollBarPress();
    NotePointerEvent(mainWindow, pointed, message);
}

// The window moved to a monitor of another scale (or the scale changed):
// it takes the size and place that the system suggests, and what is sized
// in pixels follows.
void FollowDpi(HWND mainWindow, const RECT& suggested)
{
    SetWindowPos(mainWindow, nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ScaleViewFont(mainWindow);
    RECT client;
    GetClientRect(mainWindow, &client);
    LayoutChildren(mainWindow, client.right, client.bottom);
}

// A close request during a search only stops the search. Otherwise the
// file is closed without a save question and the window destroyed.
void CloseMainWindow(HWND mainWindow)
{
    if (searchActive) {
        StopSearch();
        return;
    }
    CloseDocument();
    DestroyWindow(mainWindow);
}

} // namespace

HWND CreateMainWindow()
{
    HWND mainWindow =
        CreateDialogParamA(instanceHandle, NAME_DIALOG, GetActiveWindow(), MainDialogProc, 0);
    if (mainWindow == nullptr)
        return nullptr;
    SendMessageA(mainWindow, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(instanceHandle, NAME_ICON)));
    RECT client;
    GetClientRect(mainWindow, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    // The template's system-modal style made the window top-most; both calls
    // take that away, and the second sets the outer size to the client size
    // that the template gave.
    SetWindowPos(mainWindow, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE);
    SetWindowPos(mainWindow, HWND_NOTOPMOST, 0, 0, width, height, SWP_NOMOVE);
    return mainWindow;
}

INT_PTR CALLBACK MainDialogProc(HWND mainWindow, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        DragAcceptFiles(mainWindow, TRUE);
        WatchViewRelease(mainWindow);
        return 0;
    case WM_SIZE: LayoutChildren(mainWindow, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_DPICHANGED: FollowDpi(mainWindow, *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_VSCROLL: ScrollView(mainWindow, LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_MOUSEWHEEL: ScrollByWheel(mainWindow, GET_WHEEL_DELTA_WPARAM(wParam)); return 1;
    case WM_COMMAND: RunCommand(mainWindow, LOWORD(wParam)); return 0;
    case WM_SETCURSOR:
        NotePointer(mainWindow, reinterpret_cast<HWND>(wParam), HIWORD(lParam));
        return 0;
    case WM_DROPFILES: OpenDroppedFiles(mainWindow, reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_CLOSE: CloseMainWindow(mainWindow); return 1;
    case WM_DESTROY: PostQuitMessage(0); return 1;
    default: return 0;
    }
}

void LayoutChildren(HWND mainWindow, int width, int height)
{
    const int barWidth = ScaleForWindow(mainWindow, SCROLL_BAR_WIDTH);
    const int viewWidth = width > barWidth ? width - barWidth : 0;
    SetWindowPos(GetDlgItem(mainWindow, IDC_VIEW), nullptr, 0, 0, viewWidth, height, 0);
    HWND scrollBar = GetDlgItem(mainWindow, IDC_SCROLL);
    SetWindowPos(scrollBar, nullptr, width - barWidth, 0, barWidth, height, 0);
    // A scroll bar that only moved (the window got wider, not taller) keeps
    // the bits copied from its old place, which Wine does not draw again
    // there: it is drawn anew wherever it now stands.
    RedrawWindow(scrollBar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void ChooseAndOpenFile(HWND mainWindow)
{
    char path[PATH_BUFFER_SIZE] = "";
    // The dialog starts in the folder of the file that is open (the one
    // the command line named, say), else in the current folder.
    char folder[PATH_BUFFER_SIZE];
    FolderOfDocument(folder, sizeof folder);
    if (folder[0] == '\0' && GetCurrentDirectoryA(sizeof folder, folder) >= sizeof folder)
        folder[0] = '\0';
    OPENFILENAMEA dialog;
    ZeroMemory(&dialog, sizeof dialog);
    // The record without the later extension fields.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = mainWindow;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrInitialDir = folder[0] != '\0' ? folder : nullptr;
    if (GetOpenFileNameA(&dialog))
        OpenDocument(mainWindow, path, (dialog.Flags & OFN_READONLY) != 0); // the read-only box
}

void OpenDroppedFiles(HWND mainWindow, HDROP drop)
{
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[PATH_BUFFER_SIZE];
        if (DragQueryFileA(drop, i, path, sizeof path) == 0)
            path[0] = '\0';
        OpenDocument(mainWindow, path);
    }
    DragFinish(drop);
}
