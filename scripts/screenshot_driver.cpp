// screenshot_driver - drives a running vuko.exe from outside for
// scripts/screenshots, as a user would through the menu: finds the main
// window by its title, posts menu commands and scroll requests to it, and
// reads, fills in and answers the box that a command opens. Runs under Wine
// in the same prefix as the program; messages cross the process boundary.
//
//   screenshot_driver window TITLE            waits for the main window
//   screenshot_driver place TITLE W H         moves it to the top left corner
//                                             of the screen, W x H pixels
//   screenshot_driver menu TITLE              waits until a menu of it is open
//   screenshot_driver command TITLE NAME      posts the menu command NAME to
//                                             it (CMD_OPEN .. CMD_ABOUT)
//   screenshot_driver scroll TITLE NAME       posts the scroll request NAME
//                                             to it (SB_LINEDOWN, SB_PAGEDOWN)
//   screenshot_driver box TITLE               waits for the box the program
//                                             shows over its main window
//   screenshot_driver type TITLE TEXT         puts TEXT into that box's field
//   screenshot_driver press TITLE NAME        clicks the button NAME of that
//                                             box (IDC_OK, IDC_CANCEL of the
//                                             input, Help and About boxes;
//                                             IDOK, IDYES, IDNO of a message
//                                             box) and waits until it is gone
//   screenshot_driver close TITLE             asks the main window to close
//
// "window" and "box" print the X window that shows the window, as a number
// for ImageMagick's import, then the window's title and the text of every
// control in it, one line each ("title: ..." and "CLASS ID WxH+X+Y: ..."),
// in UTF-8.
// Exits 0 on success, 1 with a message on standard error otherwise.
#include "resources/resource.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int WAIT_TRIES = 400; // of 25 ms: up to 10 s for a window to come or go

struct Name {
    const char* name;
    int value;
};

// The names that the commands take, with the program's own numbers.
constexpr Name NAMES[] = {
    {"CMD_OPEN", CMD_OPEN},
    {"CMD_SAVE", CMD_SAVE},
    {"CMD_EXIT", CMD_EXIT},
    {"CMD_JUMP", CMD_JUMP},
    {"CMD_FIND_HEX", CMD_FIND_HEX},
    {"CMD_FIND_TEXT", CMD_FIND_TEXT},
    {"CMD_FIND_NEXT", CMD_FIND_NEXT},
    {"CMD_FIND_ABORT", CMD_FIND_ABORT},
    {"CMD_FONT", CMD_FONT},
    {"CMD_ENTER_DECIMAL", CMD_ENTER_DECIMAL},
    {"CMD_EDIT_HEX", CMD_EDIT_HEX},
    {"CMD_EDIT_TEXT", CMD_EDIT_TEXT},
    {"CMD_HELP_TOPICS", CMD_HELP_TOPICS},
    {"CMD_ABOUT", CMD_ABOUT},
    {"SB_LINEDOWN", SB_LINEDOWN},
    {"SB_PAGEDOWN", SB_PAGEDOWN},
    {"IDC_OK", IDC_OK},
    {"IDC_CANCEL", IDC_CANCEL},
    {"IDOK", IDOK},
    {"IDYES", IDYES},
    {"IDNO", IDNO},
};

// The number of a name of NAMES, or -1.
int Lookup(const char* name)
{
    for (const Name& entry : NAMES) {
        if (std::strcmp(entry.name, name) == 0)
            return entry.value;
    }
    return -1;
}

int Fail(const char* what)
{
    std::fprintf(stderr, "screenshot_driver: %s\n", what);
    return 1;
}

std::string Utf8Text(HWND window)
{
    wchar_t wide[1024] = L"";
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(wide));
    char text[3072] = "";
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    // One line per text: line breaks inside it are shown as "\n".
    std::string line;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\n')
            line += "\\n";
        else if (*p != '\r')
            line += *p;
    }
    return line;
}

HWND WaitForMainWindow(const char* title)
{
    for (int tries = 0; tries < WAIT_TRIES; ++tries) {
        if (HWND window = FindWindowA(nullptr, title))
            return window;
        Sleep(25);
    }
    return nullptr;
}

// The dialog box or message box open over the main window, or null: a
// visible top-level window of the dialog class that the main window owns.
HWND OwnedBox(HWND main)
{
    for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box != nullptr;
         box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
        if (IsWindowVisible(box) && GetWindow(box, GW_OWNER) == main)
            return box;
    }
    return nullptr;
}

HWND WaitForBox(HWND main)
{
    for (int tries = 0; tries < WAIT_TRIES; ++tries) {
        if (HWND box = OwnedBox(main))
            return box;
        Sleep(25);
    }
    return nullptr;
}

// "CLASS ID WxH+X+Y: TEXT": the size and place of the control in pixels in
// the picture of its window (whose top left corner is the frame's).
BOOL CALLBACK PrintControl(HWND control, LPARAM)
{
    char className[64] = "";
    GetClassNameA(control, className, sizeof className);
    RECT frame;
    RECT place;
    GetWindowRect(GetAncestor(control, GA_ROOT), &frame);
    GetWindowRect(control, &place);
    std::printf("%s %d %ldx%ld+%ld+%ld: %s\n", className, GetDlgCtrlID(control),
                place.right - place.left, place.bottom - place.top, place.left - frame.left,
                place.top - frame.top, Utf8Text(control).c_str());
    return TRUE;
}

// The X window that Wine's X11 driver made for a top-level window, which it
// keeps as a property of the window.
int PrintWindow(HWND window)
{
    const auto xWindow = reinterpret_cast<UINT_PTR>(GetPropA(window, "__wine_x11_whole_window"));
    if (xWindow == 0)
        return Fail("the window has no X window");
    std::printf("%llu\n", static_cast<unsigned long long>(xWindow));
    std::printf("title: %s\n", Utf8Text(window).c_str());
    EnumChildWindows(window, PrintControl, 0);
    return 0;
}

int WaitForMenu(HWND main)
{
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    for (int tries = 0; tries < WAIT_TRIES; ++tries) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE) != 0 &&
            info.hwndMenuOwner == main)
            return 0;
        Sleep(25);
    }
    return Fail("no menu of the main window is open");
}

int Press(HWND box, int id)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    for (int tries = 0; tries < WAIT_TRIES; ++tries) {
        if (!IsWindow(box))
            return 0;
        Sleep(25);
    }
    return Fail("the box stayed open");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return Fail("usage: screenshot_driver COMMAND TITLE [ARGUMENTS]");
    const char* command = argv[1];
    HWND main = WaitForMainWindow(argv[2]);
    if (main == nullptr)
        return Fail("no window with that title");

    if (std::strcmp(command, "window") == 0 && argc == 3)
        return PrintWindow(main);
    if (std::strcmp(command, "place") == 0 && argc == 5) {
        return SetWindowPos(main, nullptr, 0, 0, std::atoi(argv[3]), std::atoi(argv[4]),
                            SWP_NOZORDER)
                   ? 0
                   : Fail("cannot place the window");
    }
    const int named = argc == 4 ? Lookup(argv[3]) : -1;
    if (std::strcmp(command, "command") == 0 && named >= 0)
        return PostMessageA(main, WM_COMMAND, named, 0) ? 0 : Fail("cannot post");
    if (std::strcmp(command, "scroll") == 0 && named >= 0)
        return PostMessageA(main, WM_VSCROLL, named, 0) ? 0 : Fail("cannot post");
    if (std::strcmp(command, "menu") == 0 && argc == 3)
        return WaitForMenu(main);
    if (std::strcmp(command, "close") == 0 && argc == 3)
        return PostMessageA(main, WM_CLOSE, 0, 0) ? 0 : Fail("cannot post");

    HWND box = WaitForBox(main);
    if (box == nullptr)
        return Fail("no box is open over the main window");
    if (std::strcmp(command, "box") == 0 && argc == 3)
        return PrintWindow(box);
    if (std::strcmp(command, "type") == 0 && argc == 4) {
        SendDlgItemMessageA(box, IDC_INPUT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
        return 0;
    }
    if (std::strcmp(command, "press") == 0 && named >= 0)
        return Press(box, named);
    return Fail("unknown command or name");
}
