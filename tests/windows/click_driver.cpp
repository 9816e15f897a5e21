// click_driver - drives a running vuko.exe from outside, for the test of
// real pointer clicks: finds the main window by its title, tells where to
// click, answers the input box a click opens, and saves. Runs under Wine
// in the same prefix as the program; messages cross the process boundary.
//
//   click_driver points TITLE LINE:COLUMN... | outside | bar-up | bar | bar-down
//       prints "x y", one line per argument: the screen point that puts the
//       view's caret right before COLUMN of text LINE (as the view counts),
//       a point beside the main window for "outside", or on the scroll bar:
//       its up arrow, its middle, its down arrow.
//   click_driver answer TITLE TEXT
//       waits for the input box owned by the main window, prints
//       "title|label|field" in UTF-8, puts TEXT into the field, presses OK
//       and waits until the box is gone.
//   click_driver place TITLE WIDTH HEIGHT
//       moves the main window to the top left corner of the screen and
//       gives it that outer size, as a user would drag it, so that the
//       whole dump and a place beside the window are on the screen.
//   click_driver button TITLE BUTTON
//       waits for a message box owned by the main window, prints
//       "caption|text" in UTF-8 and, on a second line, "x y": the screen
//       point in the middle of its button of that id (6 Yes, 7 No).
//   click_driver top TITLE
//       prints the offset on the view's first dump line and the number of
//       the view's first visible text line, as "00000030 0".
//   click_driver wait-top TITLE OFFSET [SECONDS]
//       waits until the view's first dump line shows OFFSET (8 digits),
//       then, for SECONDS more (0 when not given), checks that it stays
//       there; prints every offset it saw in order when it fails.
//   click_driver wait-past TITLE OFFSET
//       waits until the view's first dump line shows OFFSET or a later one.
//   click_driver wait-line-end TITLE LINE
//       waits until the view's caret stands at the end of text LINE (where
//       the End key takes it); prints every selection it saw when it fails.
//   click_driver save TITLE
//       sends the save command; fails when a box of the program is open.
//   click_driver close TITLE
//       asks the main window to close.
//   click_driver state TITLE
//       prints the windows of the program whose main window has that title,
//       or all top-level windows when none has it: for a failing test's log.
// Exits 0 on success, 1 with a message on standard error otherwise; a
// command that gave up waiting prints the windows it saw as well.
#include "resources/resource.h"
#include "tests/windows/waiting.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Fail(const char* what)
{
    std::fprintf(stderr, "click_driver: %s\n", what);
    return 1;
}

// Fails with what, and the windows of the program that owns main.
int FailWithWindows(const char* what, HWND main)
{
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(main, &process);
    std::fprintf(stderr, "click_driver: %s\n%s", what, DescribeWindows(process, thread).c_str());
    return 1;
}

std::string Utf8Text(HWND window)
{
    wchar_t wide[512] = L"";
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(wide));
    char text[1536] = "";
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

struct BoxSearch {
    HWND owner;
    HWND box;
};

BOOL CALLBACK FindOwnedBox(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<BoxSearch*>(context);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0 && IsWindowVisible(window) &&
        GetWindow(window, GW_OWNER) == search->owner) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

// A dialog box of the program's that is open over the main window, or null.
HWND OwnedBox(HWND main)
{
    BoxSearch search = {main, nullptr};
    EnumWindows(FindOwnedBox, reinterpret_cast<LPARAM>(&search));
    return search.box;
}

int Points(HWND main, int count, char** arguments)
{
    HWND view = GetDlgItem(main, IDC_VIEW);
    RECT bar;
    GetWindowRect(GetDlgItem(main, IDC_SCROLL), &bar);
    const LONG barMiddle = (bar.left + bar.right) / 2;
    const LONG arrowMiddle = GetSystemMetrics(SM_CYVSCROLL) / 2;
    for (int i = 0; i < count; ++i) {
        POINT point;
        if (std::strcmp(arguments[i], "outside") == 0) {
            RECT frame;
            GetWindowRect(main, &frame);
            point = {frame.right + 40, frame.top + 40};
        } else if (std::strcmp(arguments[i], "bar-up") == 0) {
            point = {barMiddle, bar.top + arrowMiddle};
        } else if (std::strcmp(arguments[i], "bar") == 0) {
            point = {barMiddle, (bar.top + bar.bottom) / 2};
        } else if (std::strcmp(arguments[i], "bar-down") == 0) {
            point = {barMiddle, bar.bottom - 1 - arrowMiddle};
        } else {
            int line = 0;
            int column = 0;
            if (std::sscanf(arguments[i], "%d:%d", &line, &column) != 2)
                return Fail("a point is LINE:COLUMN");
            const LRESULT start = SendMessageA(view, EM_LINEINDEX, line, 0);
            const LRESULT here = SendMessageA(view, EM_POSFROMCHAR, start + column, 0);
            const LRESULT next = SendMessageA(view, EM_POSFROMCHAR, start + column + 1, 0);
            const LRESULT below = SendMessageA(view, EM_POSFROMCHAR,
                                               SendMessageA(view, EM_LINEINDEX, line + 1, 0), 0);
            if (start < 0 || here == -1 || next == -1 || below == -1)
                return FailWithWindows("no such place in the view", main);
            const int left = static_cast<short>(LOWORD(here));
            const int width = static_cast<short>(LOWORD(next)) - left;
            const int top = static_cast<short>(HIWORD(here));
            const int height = static_cast<short>(HIWORD(below)) - top;
            // A quarter into the character: the caret goes before it.
            point = {left + width / 4, top + height / 2};
            ClientToScreen(view, &point);
        }
        std::printf("%ld %ld\n", point.x, point.y);
    }
    return 0;
}

int Answer(HWND main, const char* text)
{
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = OwnedBox(main)) != nullptr; }))
        return FailWithWindows("no input box opened within 90 s", main);
    std::printf("%s|%s|%s\n", Utf8Text(box).c_str(), Utf8Text(GetDlgItem(box, IDC_PROMPT)).c_str(),
                Utf8Text(GetDlgItem(box, IDC_INPUT)).c_str());
    SendDlgItemMessageA(box, IDC_INPUT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    PostMessageA(box, WM_COMMAND, IDC_OK, 0);
    if (!WaitFor([&] { return !IsWindow(box); }))
        return FailWithWindows("the input box stayed open for 90 s after OK", main);
    return 0;
}

int Button(HWND main, int button)
{
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = OwnedBox(main)) != nullptr; }))
        return FailWithWindows("no message box opened within 90 s", main);
    RECT place;
    if (!GetWindowRect(GetDlgItem(box, button), &place))
        return FailWithWindows("the box has no such button", main);
    std::printf("%s|%s\n%ld %ld\n", Utf8Text(box).c_str(), Utf8Text(GetDlgItem(box, MESSAGE_BOX_TEXT)).c_str(),
                (place.left + place.right) / 2, (place.top + place.bottom) / 2);
    return 0;
}

// The offset on the view's first dump line (the 8 digits after the blank
// that starts the line after the header), or "" without one.
std::string TopLine(HWND main)
{
    const std::string text = Utf8Text(GetDlgItem(main, IDC_VIEW));
    const size_t lineEnd = text.find("\r\n");
    if (lineEnd == std::string::npos || text.size() < lineEnd + 2 + 9)
        return "";
    return text.substr(lineEnd + 3, 8);
}

int Top(HWND main)
{
    std::printf("%s %ld\n", TopLine(main).c_str(),
                static_cast<long>(SendDlgItemMessageA(main, IDC_VIEW, EM_GETFIRSTVISIBLELINE, 0, 0)));
    return 0;
}

// Waits up to 90 s for the top line to show offset, then watches it for
// seconds. Each reading goes through the program's message loop (a message
// sent to its window returns only once the loop handled it), so every
// reading after the first sees what the program did in between.
int WaitTop(HWND main, const std::string& offset, double seconds, bool orLater)
{
    std::string seen;
    std::string last;
    auto read = [&] {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, WAIT_MS, &result);
        const std::string top = TopLine(main);
        if (top != last && seen.size() < 2000)
            seen += (seen.empty() ? "" : " ") + top;
        last = top;
        return top;
    };
    // Eight upper-case digits compare as their numbers do.
    if (!WaitFor([&] { return orLater ? read() >= offset : read() == offset; })) {
        const std::string what = "the top line never showed " + offset + "; it showed " + seen;
        return FailWithWindows(what.c_str(), main);
    }
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    while (GetTickCount64() < end) {
        if (read() != offset) {
            const std::string what = "the top line left " + offset + "; it showed " + seen;
            return FailWithWindows(what.c_str(), main);
        }
        Sleep(20);
    }
    return 0;
}

// Waits up to 90 s for the view's caret, with nothing selected, to stand at
// the end of text line `line`, as the view counts.
int WaitCaretAtLineEnd(HWND main, int line)
{
    HWND view = GetDlgItem(main, IDC_VIEW);
    std::string seen;
    std::string last;
    auto atEnd = [&] {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(view, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const LRESULT lineStart = SendMessageA(view, EM_LINEINDEX, line, 0);
        const LRESULT length = SendMessageA(view, EM_LINELENGTH, lineStart, 0);
        const std::string place = std::to_string(start) + "-" + std::to_string(end) + " (line end " +
                                  std::to_string(lineStart + length) + ")";
        if (place != last && seen.size() < 2000)
            seen += (seen.empty() ? "" : " ") + place;
        last = place;
        return lineStart >= 0 && start == end && start == static_cast<DWORD>(lineStart + length);
    };
    if (!WaitFor(atEnd)) {
        const std::string what = "the caret never reached the end of line " + std::to_string(line) +
                                 "; the selection was " + seen;
        return FailWithWindows(what.c_str(), main);
    }
    return 0;
}

int Save(HWND main)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(main, WM_COMMAND, CMD_SAVE, 0, SMTO_NORMAL, WAIT_MS, &result))
        return FailWithWindows("the save command did not return within 90 s", main);
    if (OwnedBox(main) != nullptr)
        return FailWithWindows("a box is open after the save", main);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return Fail("usage: click_driver points|answer|button|top|wait-top|wait-past|wait-line-end|place|save|close|state TITLE [ARGUMENTS]");
    const char* command = argv[1];
    HWND main = FindWindowA(nullptr, argv[2]);
    if (std::strcmp(command, "state") == 0) {
        DWORD process = 0;
        const DWORD thread = main != nullptr ? GetWindowThreadProcessId(main, &process) : 0;
        std::printf("%s", DescribeWindows(process, thread).c_str());
        return 0;
    }
    if (main == nullptr)
        return Fail("no window with that title");
    if (std::strcmp(command, "points") == 0)
        return Points(main, argc - 3, argv + 3);
    if (std::strcmp(command, "answer") == 0 && argc == 4)
        return Answer(main, argv[3]);
    if (std::strcmp(command, "place") == 0 && argc == 5) {
        return SetWindowPos(main, nullptr, 0, 0, std::atoi(argv[3]), std::atoi(argv[4]), SWP_NOZORDER)
                   ? 0
                   : FailWithWindows("cannot place the window", main);
    }
    if (std::strcmp(command, "button") == 0 && argc == 4)
        return Button(main, std::atoi(argv[3]));
    if (std::strcmp(command, "top") == 0)
        return Top(main);
    if (std::strcmp(command, "wait-top") == 0 && (argc == 4 || argc == 5))
        return WaitTop(main, argv[3], argc == 5 ? std::atof(argv[4]) : 0, false);
    if (std::strcmp(command, "wait-past") == 0 && argc == 4)
        return WaitTop(main, argv[3], 0, true);
    if (std::strcmp(command, "wait-line-end") == 0 && argc == 4)
        return WaitCaretAtLineEnd(main, std::atoi(argv[3]));
    if (std::strcmp(command, "save") == 0)
        return Save(main);
    if (std::strcmp(command, "close") == 0)
        return PostMessageA(main, WM_CLOSE, 0, 0) ? 0 : Fail("cannot post WM_CLOSE");
    return Fail("unknown command");
}
