// The main window's message table, layout, drop and close, on the window
// that the entry routine's own creation code makes.
#include "app/main_window.h"

#include "document/document.h"
#include "resources/resource.h"
#include "search/search.h"
#include "tests/windows/support.h"

#include <commdlg.h>

#include <cstring>

namespace {

using MainWindowMessages = MainWindowTest;

// Position and size of a child in its parent's client area.
RECT ChildRect(HWND window, int id)
{
    HWND child = GetDlgItem(window, id);
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectRect(const RECT& rect, int x, int y, int width, int height)
{
    EXPECT_EQ(rect.left, x);
    EXPECT_EQ(rect.top, y);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

TEST_F(MainWindowMessages, CreatedHiddenNotTopMostWithTheTemplateClientSizeAsOuterSize)
{
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_EQ(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_NE(SendMessageA(window_, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);

    // The outer size is the client size the template gave; the children
    // were laid out for the client area that is left.
    RECT template_client = {0, 0, 256, 240};
    MapDialogRect(window_, &template_client);
    RECT outer, client;
    GetWindowRect(window_, &outer);
    GetClientRect(window_, &client);
    EXPECT_EQ(outer.right - outer.left, template_client.right);
    EXPECT_EQ(outer.bottom - outer.top, template_client.bottom);
    ExpectRect(ChildRect(window_, IDC_VIEW), 0, 0, client.right - SCROLL_BAR_WIDTH, client.bottom);
    ExpectRect(ChildRect(window_, IDC_SCROLL), client.right - SCROLL_BAR_WIDTH, 0, SCROLL_BAR_WIDTH,
               client.bottom);
}

TEST_F(MainWindowMessages, SizeLaysOutTheViewAndTheScrollBar)
{
    SendMessageA(window_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    ExpectRect(ChildRect(window_, IDC_VIEW), 0, 0, 284, 200);
    ExpectRect(ChildRect(window_, IDC_SCROLL), 284, 0, 16, 200);

    SendMessageA(window_, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    ExpectRect(ChildRect(window_, IDC_VIEW), 0, 0, 0, 0);
    ExpectRect(ChildRect(window_, IDC_SCROLL), -16, 0, 16, 0);
}

TEST_F(MainWindowMessages, ScrollAndCommandsReachTheirRoutines)
{
    TempFolder folder;
    const std::string path = folder.Write("cmd.bin", CountingBytes(0x1000));
    OpenDocument(window_, path.c_str());

    SendMessageA(window_, WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    EXPECT_EQ(document.topOffset, 0x100u);
    SendMessageA(window_, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0x240), 0);
    EXPECT_EQ(document.topOffset, 0x240u);

    // The save command writes the window as it stands, asks nothing and
    // does not render.
    EditByte(0, 0xEE);
    SetDlgItemTextA(window_, IDC_VIEW, "typed");
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_SAVE, 0), 0);
    EXPECT_EQ(ViewText(window_), "typed");

    // Ids outside the command table, such as the view's notifications, do nothing.
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(IDC_VIEW, EN_CHANGE), 0);
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(270, 0), 0);
    EXPECT_EQ(document.topOffset, 0x240u);

    searchActive = 0;
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_FIND_ABORT, 0), 0);
    EXPECT_FALSE(searchActive);

    CloseDocument();
    EXPECT_EQ(ReadWholeFile(path)[0x240], 0xEE);
}

TEST_F(MainWindowMessages, DropOfThreeFilesLeavesTheThirdOpen)
{
    TempFolder folder;
    const std::string first = folder.Write("first.bin", {1});
    const std::string second = folder.Write("second.bin", {2, 2});
    const std::string third = folder.Write("third.bin", {3, 3, 3});
    SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({first, second, third})), 0);
    ASSERT_NE(document.fileHandle, nullptr);
    EXPECT_EQ(document.fileSize, 3u);
    EXPECT_EQ(WindowText(window_), "third.bin - VUKO");
    // The first two were closed: each can be opened for writing again.
    for (const std::string& path : {first, second}) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
        CloseHandle(file);
    }
}

TEST_F(MainWindowMessages, DropEndingWithAMissingFileLeavesNoDocument)
{
    TempFolder folder;
    const std::string first = folder.Write("first.bin", {1});
    SendMessageA(window_, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({first, folder.File("gone.bin")})), 0);
    EXPECT_EQ(document.fileHandle, nullptr);
    EXPECT_EQ(WindowText(window_), "VUKO");
}

TEST_F(MainWindowMessages, OpenCommandShowsTheFileDialogAndOpensTheChosenFile)
{
    TempFolder folder;
    const std::string path = folder.Write("chosen.bin", CountingBytes(40));
    {
        // The file name field of the dialog is the combo box 0x47C.
        BoxAnswer answer(IDOK, 0x47C, path);
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_OPEN, 0), 0);
        ASSERT_TRUE(answer.answered());
    }
    ASSERT_NE(document.fileHandle, nullptr);
    EXPECT_EQ(document.fileSize, 40u);
    EXPECT_EQ(WindowText(window_), "chosen.bin - VUKO");

    // Cancel opens nothing and keeps the document.
    BoxAnswer answer(IDCANCEL);
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_OPEN, 0), 0);
    EXPECT_TRUE(answer.answered());
    EXPECT_EQ(WindowText(window_), "chosen.bin - VUKO");
}

// The open dialog starts in the folder of the open file (the one given on
// the command line, say), and in the current folder while none was opened.
TEST_F(MainWindowMessages, OpenDialogStartsInTheFolderOfTheOpenFile)
{
    TempFolder folder;
    char current[MAX_PATH];
    ASSERT_NE(GetCurrentDirectoryA(sizeof current, current), 0u);
    const std::string path = folder.Write("here.bin", CountingBytes(40));
    struct Case {
        const char* name;
        std::string open; // the file opened first, or none
        std::string folder;
    };
    for (const Case& c : {Case{"no file opened", "", current}, Case{"a file open", path, folder.path()}}) {
        SCOPED_TRACE(c.name);
        if (!c.open.empty()) {
            ASSERT_TRUE(OpenFile(window_, c.open));
        }
        std::string shown;
        BoxScript script({[&shown](HWND open) {
            char where[MAX_PATH] = "";
            SendMessageA(open, CDM_GETFOLDERPATH, sizeof where, reinterpret_cast<LPARAM>(where));
            shown = where;
            PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }});
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_OPEN, 0), 0);
        ASSERT_EQ(script.stepsRun(), 1);
        EXPECT_EQ(lstrcmpiA(shown.c_str(), c.folder.c_str()), 0) << "the dialog opened in " << shown;
    }
}

TEST_F(MainWindowMessages, OpenDialogsReadOnlyBoxOpensTheFileForReadingOnly)
{
    TempFolder folder;
    const std::string path = folder.Write("guarded.bin", CountingBytes(40));
    {
        // The file name combo box 0x47C and the read-only check box 0x410.
        BoxScript script({[&](HWND open) {
            SetDlgItemTextA(open, 0x47C, path.c_str());
            SendDlgItemMessageA(open, 0x410, BM_SETCHECK, BST_CHECKED, 0);
            PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(open, IDOK)));
        }});
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_OPEN, 0), 0);
        ASSERT_EQ(script.stepsRun(), 1);
    }
    ASSERT_NE(document.fileHandle, nullptr);
    EXPECT_EQ(WindowText(window_), "guarded.bin - VUKO");

    // An edit, then the save command: it fails and says so.
    {
        BoxAnswer answer(IDC_OK, IDC_INPUT, "77");
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_EDIT_HEX, 0), 0);
        ASSERT_TRUE(answer.answered());
    }
    ASSERT_EQ(document.windowBuffer[0], 0x77);
    {
        BoxAnswer warning(IDOK);
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_SAVE, 0), 0);
        EXPECT_TRUE(warning.answered()) << "no failed-save message";
        EXPECT_EQ(warning.text(), Ansi(L"保存できませんでした"));
    }
    EXPECT_EQ(ReadWholeFile(path), CountingBytes(40));
}

TEST_F(MainWindowMessages, CloseDuringASearchOnlyStopsTheSearch)
{
    searchActive = 1;
    EXPECT_EQ(MainDialogProc(window_, WM_CLOSE, 0, 0), 1);
    EXPECT_FALSE(searchActive);
    EXPECT_TRUE(IsWindow(window_));
    // The exit command is the same close request.
    searchActive = 1;
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
    EXPECT_FALSE(searchActive);
    EXPECT_TRUE(IsWindow(window_));
}

TEST_F(MainWindowMessages, CloseDropsEditsClosesTheFileAndQuitsWithZero)
{
    TempFolder folder;
    const std::string path = folder.Write("close.bin", CountingBytes(16));
    OpenDocument(window_, path.c_str());
    EditByte(0, 0x99);

    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(document.fileHandle, nullptr);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(ReadWholeFile(path), CountingBytes(16));
}

// Text of a window as the platform holds it, in UTF-16.
std::wstring WideText(HWND window)
{
    wchar_t text[256] = L"";
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(MainWindowMessages, HelpAndAboutShowTheirTextsAndCloseOnlyByOkOrCloseRequest)
{
    struct Box {
        UINT command;
        InfoBoxTexts shown;
    };
    const Box boxes[] = {
        {CMD_HELP_TOPICS, HELP_BOX},
        {CMD_ABOUT, ABOUT_BOX},
    };
    struct Closer {
        const char* name;
        UINT message;
        WPARAM wParam;
    };
    const Closer closers[] = {
        {"OK button", WM_COMMAND, IDC_OK},
        {"close box", WM_SYSCOMMAND, SC_CLOSE},
        {"close request", WM_CLOSE, 0},
    };
    for (const Box& box : boxes) {
        for (const Closer& closer : closers) {
            SCOPED_TRACE(closer.name);
            std::wstring title, text;
            bool icon = false;
            BoxScript script({
                [&](HWND open) {
                    title = WideText(open);
                    text = WideText(GetDlgItem(open, IDC_INFO_TEXT));
                    icon = SendDlgItemMessageA(open, IDC_INFO_ICON, STM_GETICON, 0, 0) != 0;
                    SendMessageA(open, WM_COMMAND, IDOK, 0);
                    SendMessageA(open, WM_COMMAND, IDCANCEL, 0);
                },
                [&](HWND open) { PostMessageA(open, closer.message, closer.wParam, 0); },
                [](HWND open) { PostMessageA(open, WM_COMMAND, IDC_OK, 0); }, // when it stayed open
            });
            SendMessageA(window_, WM_COMMAND, MAKEWPARAM(box.command, 0), 0);
            EXPECT_EQ(script.stepsRun(), 2); // still open after ids 1 and 2
            EXPECT_EQ(title, box.shown.title);
            EXPECT_EQ(text, box.shown.text);
            EXPECT_TRUE(icon);
        }
    }
}

} // namespace
