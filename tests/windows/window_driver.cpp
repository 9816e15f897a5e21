// window_driver - drives a running vuko.exe from outside, as a user would,
// for the end-to-end tests with real input and for scripts/screenshots:
// finds the main window by its title, tells where to click, posts menu
// commands and scroll requests, reads, fills in and answers the box that
// the program shows over its main window, and saves. Runs under Wine in the
// same prefix as the program; messages cross the process boundary.
//
//   window_driver points TITLE LINE:COLUMN... | outside | bar-up | bar | bar-down | thumb
//                                             | minimize | restore
//       prints "x y", one line per argument: the screen point that puts the
//       view's caret right before COLUMN of text LINE (as the view counts),
//       a point beside the main window for "outside", on the scroll bar:
//       its up arrow, its middle, its down arrow, the middle of its thumb,
//       the middle of the minimise button in the main window's caption,
//       or, while it is minimised, of its restore button (Wine draws a
//       minimised window without a window manager as a short caption at
//       the bottom of the screen); "restore" fails at once, saying so, while
//       the window is not minimised.
//   window_driver answer TITLE TEXT
//       waits for the input box, prints "title|label|field" in UTF-8, puts
//       TEXT into the field, presses OK and waits until the box is gone.
//   window_driver place TITLE WIDTH HEIGHT
//       moves the main window to the top left corner of the screen and
//       gives it that outer size, as a user would drag it, so that the
//       whole dump and a place beside the window are on the screen.
//   window_driver button TITLE BUTTON
//       waits for a message box, prints "caption|text" in UTF-8 and, on a
//       second line, "x y": the screen point in the middle of its button of
//       that id (1 OK, 6 Yes, 7 No). A box without that button (one that
//       is about to close) is not the one waited for.
//   window_driver top TITLE
//       prints the offset on the view's first dump line and the number of
//       the view's first visible text line, as "00000030 0".
//   window_driver wait-top TITLE OFFSET [SECONDS]
//       waits until the view's first dump line shows OFFSET (8 digits),
//       then, for SECONDS more (0 when not given), checks that it stays
//       there; prints every offset it saw in order when it fails.
//   window_driver wait-still TITLE OFFSET SECONDS
//       as wait-top, and during those SECONDS no box of the program opens
//       either; prints the box that opened when it fails.
//   window_driver wait-closed TITLE TEXT
//       waits until no box of the program shows TEXT ("caption|text", as
//       button prints it): the box that a click answered has closed.
//   window_driver wait-caret TITLE LINE | LINE+ | last
//       waits until the view's caret, with nothing selected, stands on text
//       LINE (LINE or a later one for "LINE+", the last line for "last");
//       prints the line.
//   window_driver view-home TITLE SECONDS
//       waits until the main window is shown, not minimised, with the view
//       holding the focus, then for SECONDS checks that the view shows its
//       text from the first line (the header) and selects nothing; prints
//       the first visible lines and selections it saw when it fails.
//   window_driver wait-past TITLE OFFSET
//       waits until the view's first dump line shows OFFSET or a later one.
//   window_driver find-time TITLE OFFSET [PID...]
//       times one find-next as a user waits for it: brings the view to the
//       top (the scroll bar's request SB_TOP) and waits until it shows
//       00000000, painted; then posts the find-next command and waits until
//       the view's first dump line shows OFFSET (8 digits) and neither the
//       view nor the scroll bar waits for a repaint. Prints the seconds from
//       the post to then and, for each PID (a Linux process id, such as the
//       program's own and its Wine server's), the seconds that process ran
//       on a processor meanwhile, all on one line. A pattern must be set
//       (16進数で検索) and no box open; prints every offset it saw when the
//       view never shows OFFSET.
//   window_driver wait-line-end TITLE LINE
//       waits until the view's caret stands at the end of text LINE (where
//       the End key takes it); prints every selection it saw when it fails.
//   window_driver check-layout TITLE
//       prints the window's DPI, the scroll bar's width and where the pairs
//       end and the character column starts on the first lines; fails when
//       the bar is not 16 pixels scaled to the DPI (near the system's), a line's pairs
//       reach beyond the view, or the character column does not line up.
//   window_driver save TITLE
//       sends the save command; fails when a box of the program is open.
//   window_driver window TITLE
//       prints the main window (see below).
//   window_driver menu TITLE
//       waits until a menu of the main window is open.
//   window_driver command TITLE NAME
//       posts the menu command NAME (CMD_OPEN .. CMD_ABOUT) to it.
//   window_driver scroll TITLE NAME
//       posts the scroll request NAME (SB_LINEDOWN, SB_PAGEDOWN, SB_TOP) to
//       it.
//   window_driver box TITLE
//       waits for the box and prints it (see below).
//   window_driver type TITLE TEXT
//       waits for the box and puts TEXT into its field.
//   window_driver press TITLE NAME
//       waits for the box, clicks its button NAME (IDC_OK, IDC_CANCEL of the
//       input, Help and About boxes; IDOK, IDYES, IDNO of a message box) and
//       waits until the box is gone.
//   window_driver close TITLE
//       asks the main window to close.
//   window_driver state TITLE
//       prints the windows of the program whose main window has that title,
//       or all top-level windows when none has it: for a failing test's log.
// "The box" is the dialog or message box that the program shows over its
// main window. "window" and "box" print the X window that shows it, as a
// number for ImageMagick's import, then its title and the text of every
// control in it, one line each ("title: ..." and "CLASS ID WxH+X+Y: ..."),
// in UTF-8, line breaks inside a text written as "\n".
// Every command but state first waits for the main window. Every wait gives
// up after WAIT_MS, and at once when the main window is gone.
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

struct Name {
    const char* name;
    int value;
};

// The names that command, scroll and press take, with the program's own
// numbers.
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
    {"SB_TOP", SB_TOP},
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

int Fail(const std::string& what)
{
    std::fprintf(stderr, "window_driver: %s\n", what.c_str());
    return 1;
}

// Fails with what, and the windows of the program that owns main.
int FailWithWindows(const std::string& what, HWND main)
{
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(main, &process);
    std::fprintf(stderr, "window_driver: %s\n%s", what.c_str(), DescribeWindows(process, thread).c_str());
    return 1;
}

// The text of a window or control in UTF-8.
std::string Utf8Text(HWND window)
{
    wchar_t wide[1024] = L"";
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(wide));
    char text[3072] = "";
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

// text on one line: line breaks written as "\n", carriage returns left out.
std::string OneLine(const std::string& text)
{
    std::string line;
    for (const char c : text) {
        if (c == '\n')
            line += "\\n";
        else if (c != '\r')
            line += c;
    }
    return line;
}

// "caption|text" of a message box, on one line.
std::string BoxText(HWND box)
{
    return Utf8Text(box) + "|" + OneLine(Utf8Text(GetDlgItem(box, MESSAGE_BOX_TEXT)));
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

// The dialog box or message box that the program shows over its main
// window, or null: a visible top-level window of the dialog class that the
// main window owns.
HWND OwnedBox(HWND main)
{
    BoxSearch search = {main, nullptr};
    EnumWindows(FindOwnedBox, reinterpret_cast<LPARAM>(&search));
    return search.box;
}

// Waits for the box over main; null when none came within WAIT_MS or main
// is gone.
HWND WaitForBox(HWND main)
{
    HWND box = nullptr;
    WaitFor([&] { return (box = OwnedBox(main)) != nullptr || !IsWindow(main); });
    return box;
}

// Fails saying that no box of that kind came: within WAIT_MS, or before
// the main window went.
int NoBox(HWND main, const char* kind)
{
    if (!IsWindow(main))
        return Fail(std::string("the main window went while waiting for ") + kind);
    return FailWithWindows(std::string("no ") + kind + " opened within " + std::to_string(WAIT_MS / 1000) + " s",
                           main);
}

// The main window of that title, waited for up to WAIT_MS; null without one.
HWND WaitForMainWindow(const char* title)
{
    HWND main = nullptr;
    WaitFor([&] { return (main = FindWindowA(nullptr, title)) != nullptr; });
    return main;
}

// The middle of the caption button of main that the window's hit test
// calls `button` (HTMINBUTTON is the restore button while main is
// minimised), found along the middle of the caption from the right.
bool CaptionButton(HWND main, LRESULT button, POINT& point)
{
    RECT frame;
    GetWindowRect(main, &frame);
    const LONG y = frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    LONG right = -1;
    for (LONG x = frame.right - 1; x > frame.left; --x) {
        const LRESULT hit = SendMessageA(main, WM_NCHITTEST, 0, MAKELPARAM(x, y));
        if (hit == button && right < 0)
            right = x;
        if (hit != button && right >= 0) {
            point = {(x + 1 + right) / 2, y};
            return true;
        }
    }
    return false;
}

// The middle of the thumb of the scroll bar control bar. The bar is given
// a range and a position but no page, so its thumb is a square as wide as
// the bar, and the thumb's top travels between the two arrows in proportion
// to the position in the range.
bool ThumbMiddle(HWND bar, POINT& point)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    RECT place;
    if (!GetScrollInfo(bar, SB_CTL, &info) || !GetWindowRect(bar, &place) || info.nMax <= info.nMin ||
        info.nPage != 0)
        return false;
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    const int thumb = place.right - place.left;
    const int travel = place.bottom - place.top - 2 * arrow - thumb;
    if (travel <= 0)
        return false;
    const int top = arrow + MulDiv(travel, info.nPos - info.nMin, info.nMax - info.nMin);
    point = {(place.left + place.right) / 2, place.top + top + thumb / 2};
    return true;
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
        } else if (std::strcmp(arguments[i], "thumb") == 0) {
            if (!ThumbMiddle(GetDlgItem(main, IDC_SCROLL), point))
                return FailWithWindows("the scroll bar shows no thumb", main);
        } else if (std::strcmp(arguments[i], "minimize") == 0) {
            if (IsIconic(main) || !CaptionButton(main, HTMINBUTTON, point))
                return FailWithWindows("no minimise button in the caption", main);
        } else if (std::strcmp(arguments[i], "restore") == 0) {
            if (!IsIconic(main) || !CaptionButton(main, HTMINBUTTON, point))
                return Fail("the main window is not minimised with a restore button");
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

// Clicks the button id of box and waits until the box is gone.
int Click(HWND main, HWND box, int id)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    if (!WaitFor([&] { return !IsWindow(box); }))
        return FailWithWindows("the box stayed open for " + std::to_string(WAIT_MS / 1000) + " s after the click on " +
                                   std::to_string(id),
                               main);
    return 0;
}

int Answer(HWND main, const char* text)
{
    HWND box = WaitForBox(main);
    if (box == nullptr)
        return NoBox(main, "input box");
    std::printf("%s|%s|%s\n", Utf8Text(box).c_str(), Utf8Text(GetDlgItem(box, IDC_PROMPT)).c_str(),
                Utf8Text(GetDlgItem(box, IDC_INPUT)).c_str());
    SendDlgItemMessageA(box, IDC_INPUT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    return Click(main, box, IDC_OK);
}

int Button(HWND main, int button)
{
    HWND box = nullptr;
    WaitFor([&] {
        box = OwnedBox(main);
        return (box != nullptr && GetDlgItem(box, button) != nullptr) || !IsWindow(main);
    });
    if (box == nullptr || !IsWindow(main))
        return NoBox(main, "message box");
    RECT place;
    if (!GetWindowRect(GetDlgItem(box, button), &place))
        return FailWithWindows("the box has no such button", main);
    std::printf("%s|%s\n%ld %ld\n", Utf8Text(box).c_str(), Utf8Text(GetDlgItem(box, MESSAGE_BOX_TEXT)).c_str(),
                (place.left + place.right) / 2, (place.top + place.bottom) / 2);
    return 0;
}

// The offset on the first dump line of the view's text (the 8 digits after
// the blank that starts the line after the header), or "" without one.
std::string TopLineOf(const std::string& text)
{
    const size_t lineEnd = text.find("\r\n");
    if (lineEnd == std::string::npos || text.size() < lineEnd + 2 + 9)
        return "";
    return text.substr(lineEnd + 3, 8);
}

// The offset on the view's first dump line, or "" without one.
std::string TopLine(HWND main)
{
    return TopLineOf(Utf8Text(GetDlgItem(main, IDC_VIEW)));
}

int Top(HWND main)
{
    std::printf("%s %ld\n", TopLine(main).c_str(),
                static_cast<long>(SendDlgItemMessageA(main, IDC_VIEW, EM_GETFIRSTVISIBLELINE, 0, 0)));
    return 0;
}

// Waits up to 90 s for the top line to show offset, then watches it for
// seconds, and with noBox also that no box of the program opens meanwhile.
// Each reading goes through the program's message loop (a message sent to
// its window returns only once the loop handled it), so every reading after
// the first sees what the program did in between.
int WaitTop(HWND main, const std::string& offset, double seconds, bool orLater, bool noBox = false)
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
        if (HWND box = noBox ? OwnedBox(main) : nullptr) {
            const std::string what = "a box opened while the view stayed at " + offset + ": " + BoxText(box);
            return FailWithWindows(what.c_str(), main);
        }
        Sleep(20);
    }
    return 0;
}

// Seconds of a steady clock.
double Seconds()
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Reads the offset on the view's first dump line into top, through the
// program's message loop: the reading is answered once the program handles
// messages (in its main loop, or where a running search pumps them). False
// when it gave no answer within milliseconds.
bool ReadTopLine(HWND main, DWORD milliseconds, std::string& top)
{
    wchar_t wide[1024] = L"";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(GetDlgItem(main, IDC_VIEW), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(wide),
                             SMTO_NORMAL, milliseconds, &length))
        return false;
    char text[3072] = "";
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    top = TopLineOf(text);
    return true;
}

// Whether the view and the scroll bar have been painted since they last
// changed: no part of either waits for a repaint.
bool Painted(HWND main)
{
    return !GetUpdateRect(GetDlgItem(main, IDC_VIEW), nullptr, FALSE) &&
           !GetUpdateRect(GetDlgItem(main, IDC_SCROLL), nullptr, FALSE);
}

// The seconds that the Linux process pid (decimal) has run on a processor:
// the first field of /proc/PID/task/TID/schedstat (nanoseconds), summed over
// the process's threads. Wine's drive Z: is the Linux root, so the driver
// reads them itself, right before and after what it times. False when the
// process is gone or none of its threads could be read.
bool ProcessorSeconds(const char* pid, double& seconds)
{
    const std::string tasks = std::string("Z:\\proc\\") + pid + "\\task\\";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((tasks + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    unsigned long long nanoseconds = 0;
    bool read = false;
    do {
        if (found.cFileName[0] < '0' || found.cFileName[0] > '9')
            continue;
        // A thread that ended meanwhile has no file any more.
        HANDLE file = CreateFileA((tasks + found.cFileName + "\\schedstat").c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        char text[128] = "";
        DWORD got = 0;
        if (ReadFile(file, text, sizeof text - 1, &got, nullptr) && got > 0) {
            text[got] = '\0';
            nanoseconds += std::strtoull(text, nullptr, 10);
            read = true;
        }
        CloseHandle(file);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    seconds = static_cast<double>(nanoseconds) / 1e9;
    return read;
}

int FindTime(HWND main, const std::string& offset, int count, char** pids)
{
    if (HWND box = OwnedBox(main))
        return FailWithWindows("a box is open: " + BoxText(box), main);
    // Back to the top, shown and painted, before the clock starts.
    PostMessageA(main, WM_VSCROLL, SB_TOP, 0);
    std::string top;
    const auto atTop = [&] { return ReadTopLine(main, WAIT_MS, top) && top == "00000000" && Painted(main); };
    if (!WaitFor([&] { return atTop() || !IsWindow(main); }) || !IsWindow(main))
        return FailWithWindows("the view did not go back to 00000000 within 90 s; it shows " + top, main);

    double before[16];
    double after[16];
    if (count > 16)
        return Fail("at most 16 processes");
    for (int i = 0; i < count; ++i) {
        if (!ProcessorSeconds(pids[i], before[i]))
            return Fail(std::string("cannot read /proc/") + pids[i] + "/task/*/schedstat");
    }
    const double start = Seconds();
    PostMessageA(main, WM_COMMAND, CMD_FIND_NEXT, 0);
    // Each reading waits in the program's queue until it handles messages;
    // between readings the driver rests a millisecond, so that it neither
    // spins nor misses the moment by more than that.
    const ULONGLONG deadline = GetTickCount64() + WAIT_MS;
    std::string seen;
    std::string last = "00000000";
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        if (left == 0 || !IsWindow(main)) {
            const std::string what = "after find-next the top line never showed " + offset +
                                     " within 90 s; it showed 00000000" + seen;
            return FailWithWindows(what.c_str(), main);
        }
        if (ReadTopLine(main, left, top)) {
            if (top != last && seen.size() < 2000)
                seen += " " + (top.empty() ? std::string("(no dump)") : top);
            last = top;
            if (top == offset && Painted(main))
                break;
        }
        Sleep(1);
    }
    const double wall = Seconds() - start;
    // Read in the reverse order, so that the last process listed (the Wine
    // server) counts none of the driver's own reading of the others.
    for (int i = count - 1; i >= 0; --i) {
        if (!ProcessorSeconds(pids[i], after[i]))
            return Fail(std::string("cannot read /proc/") + pids[i] + "/task/*/schedstat");
    }
    std::printf("%.6f", wall);
    for (int i = 0; i < count; ++i)
        std::printf(" %.6f", after[i] - before[i]);
    std::printf("\n");
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

// Waits up to 90 s until no box over main shows text.
int WaitClosed(HWND main, const std::string& text)
{
    const auto shown = [&] {
        HWND box = OwnedBox(main);
        return box != nullptr && BoxText(box) == text;
    };
    if (!WaitFor([&] { return !shown() || !IsWindow(main); }) || !IsWindow(main))
        return FailWithWindows("the box " + text + " did not close within 90 s", main);
    return 0;
}

// The view's selection as "START-END".
std::string Selection(HWND view, DWORD& start, DWORD& end)
{
    SendMessageA(view, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return std::to_string(start) + "-" + std::to_string(end);
}

// Waits up to 90 s for the view's caret, with nothing selected, to stand on
// text line `line` (with orLater, or a later one; the last line for -1),
// and prints the line it stands on.
int WaitCaret(HWND main, int line, bool orLater)
{
    HWND view = GetDlgItem(main, IDC_VIEW);
    std::string seen;
    std::string last;
    LRESULT caretLine = 0;
    auto reached = [&] {
        DWORD start = 0;
        DWORD end = 0;
        const std::string selection = Selection(view, start, end);
        caretLine = SendMessageA(view, EM_LINEFROMCHAR, end, 0);
        const LRESULT wanted = line >= 0 ? line : SendMessageA(view, EM_GETLINECOUNT, 0, 0) - 1;
        const std::string place = selection + " (line " + std::to_string(caretLine) + ")";
        if (place != last && seen.size() < 2000)
            seen += (seen.empty() ? "" : " ") + place;
        last = place;
        return start == end && (orLater ? caretLine >= wanted : caretLine == wanted);
    };
    if (!WaitFor(reached)) {
        const std::string what = "the caret never reached line " +
                                 (line >= 0 ? std::to_string(line) + (orLater ? " or a later one" : "") : "last") +
                                 "; the selection was " + seen;
        return FailWithWindows(what.c_str(), main);
    }
    std::printf("%ld\n", static_cast<long>(caretLine));
    return 0;
}

// Waits up to 90 s for main to be shown and not minimised with the focus in
// the view, then checks for seconds that the view shows its first line at
// the top and selects nothing (as before the window lost the focus: the
// dialog must not select the view's text when it gives it the focus).
int ViewHome(HWND main, double seconds)
{
    HWND view = GetDlgItem(main, IDC_VIEW);
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    const auto focused = [&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return IsWindowVisible(main) && !IsIconic(main) && GetGUIThreadInfo(thread, &info) &&
               info.hwndFocus == view;
    };
    if (!WaitFor([&] { return focused() || !IsWindow(main); }) || !focused())
        return FailWithWindows("the view did not get the focus in a shown, restored main window within 90 s", main);
    std::string seen;
    std::string last;
    bool home = true;
    auto read = [&] {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, WAIT_MS, &result);
        DWORD start = 0;
        DWORD end = 0;
        const std::string selection = Selection(view, start, end);
        const LRESULT first = SendMessageA(view, EM_GETFIRSTVISIBLELINE, 0, 0);
        const std::string state = "first visible line " + std::to_string(first) + ", selection " + selection;
        if (state != last && seen.size() < 2000)
            seen += (seen.empty() ? "" : "; ") + state;
        last = state;
        home = first == 0 && start == end;
    };
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    do {
        read();
        if (!home)
            return FailWithWindows("the view does not show its text from the header line: " + seen, main);
        Sleep(20);
    } while (GetTickCount64() < end);
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
                place.top - frame.top, OneLine(Utf8Text(control)).c_str());
    return TRUE;
}

// The X window that Wine's X11 driver made for a top-level window, which it
// keeps as a property of the window, then its title and controls.
int PrintWindow(HWND window)
{
    const auto xWindow = reinterpret_cast<UINT_PTR>(GetPropA(window, "__wine_x11_whole_window"));
    if (xWindow == 0)
        return Fail("the window has no X window");
    std::printf("%llu\n", static_cast<unsigned long long>(xWindow));
    std::printf("title: %s\n", OneLine(Utf8Text(window)).c_str());
    EnumChildWindows(window, PrintControl, 0);
    return 0;
}

int WaitForMenu(HWND main)
{
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    const auto menuOpen = [&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE) != 0 &&
               info.hwndMenuOwner == main;
    };
    if (!WaitFor([&] { return menuOpen() || !IsWindow(main); }) || !menuOpen())
        return FailWithWindows("no menu of the main window opened within 90 s", main);
    return 0;
}

int Press(HWND main, int id)
{
    HWND box = WaitForBox(main);
    if (box == nullptr)
        return NoBox(main, "box");
    return Click(main, box, id);
}

} // namespace

// The x of a character of the view, by its index in the view's text as the
// control counts it; -1 when the control places it nowhere.
int CharacterX(HWND view, size_t index)
{
    const LRESULT position = SendMessageA(view, EM_POSFROMCHAR, index, 0);
    return position == -1 ? -1 : static_cast<short>(LOWORD(position));
}

// Checks that the view is laid out for the window's scale: the scroll bar
// 16 pixels scaled to it, near the system's width at that scale, the header and the sixteen pairs
// of every line inside the view, and the character column starting at the
// same x on every line (the header's "0123456789ABCDEF" too). Prints what
// it measured; fails naming what is off.
int CheckLayout(HWND main)
{
    HWND view = GetDlgItem(main, IDC_VIEW);
    HWND bar = GetDlgItem(main, IDC_SCROLL);
    using DpiForWindow = UINT(WINAPI*)(HWND);
    using MetricsForDpi = int(WINAPI*)(int, UINT);
    HMODULE user = GetModuleHandleA("user32.dll");
    const auto dpiForWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
    const auto metricsForDpi =
        reinterpret_cast<MetricsForDpi>(reinterpret_cast<void*>(GetProcAddress(user, "GetSystemMetricsForDpi")));
    if (dpiForWindow == nullptr || metricsForDpi == nullptr)
        return Fail("this system tells no DPI per window");
    const UINT dpi = dpiForWindow(main);
    RECT barRect;
    RECT viewClient;
    GetWindowRect(bar, &barRect);
    GetClientRect(view, &viewClient);
    const int barWidth = barRect.right - barRect.left;
    const int systemBar = metricsForDpi(SM_CXVSCROLL, dpi);

    // The text as the control holds it, in UTF-16 units, line by line.
    wchar_t text[40000];
    const LRESULT length = SendMessageW(view, WM_GETTEXT, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(text));
    const std::wstring all(text, length > 0 ? static_cast<size_t>(length) : 0);
    std::string problems;
    char line[160];
    std::snprintf(line, sizeof line, "dpi %u, scroll bar %d pixels (the system's %d), view %d pixels wide\n", dpi,
                  barWidth, systemBar, static_cast<int>(viewClient.right));
    std::string report = line;
    // 16 pixels at 96 DPI (the system's are 17 there), scaled.
    if (barWidth != MulDiv(16, static_cast<int>(dpi), 96) || std::abs(barWidth - systemBar) * 8 > systemBar)
        problems += " the scroll bar is not 16 pixels scaled to the DPI, near the system's width;";
    int column = -1;
    size_t start = 0;
    for (int number = 0; start < all.size() && number < 8; ++number) {
        size_t end = all.find(L"\r\n", start);
        if (end == std::wstring::npos)
            end = all.size();
        const std::wstring text16 = all.substr(start, end - start);
        // The header's last label and its character column's first; a dump
        // line's last pair and its first character (its start is ASCII).
        const size_t pairsEnd = number == 0 ? text16.find(L"0F") + 2 : 58;
        const size_t textStart = number == 0 ? text16.find(L"0123456789ABCDEF") : 60;
        if (textStart == std::wstring::npos || pairsEnd > text16.size() || textStart >= text16.size())
            break;
        const int pairsX = CharacterX(view, start + pairsEnd);
        const int textX = CharacterX(view, start + textStart);
        std::snprintf(line, sizeof line, "line %d: pairs end at x %d, characters start at x %d\n", number, pairsX, textX);
        report += line;
        if (pairsX < 0 || pairsX > viewClient.right)
            problems += " line " + std::to_string(number) + "'s pairs do not fit in the view;";
        if (column < 0)
            column = textX;
        else if (textX != column)
            problems += " line " + std::to_string(number) + "'s characters do not line up with the header's;";
        start = end + 2;
    }
    if (column < 0)
        problems += " the view shows no dump lines;";
    std::printf("%s", report.c_str());
    return problems.empty() ? 0 : FailWithWindows("the layout is off:" + problems, main);
}

int main(int argc, char** argv)
{
    if (argc < 3)
        return Fail("usage: window_driver COMMAND TITLE [ARGUMENTS] (see window_driver.cpp)");
    const char* command = argv[1];
    if (std::strcmp(command, "state") == 0) {
        HWND main = FindWindowA(nullptr, argv[2]);
        DWORD process = 0;
        const DWORD thread = main != nullptr ? GetWindowThreadProcessId(main, &process) : 0;
        std::printf("%s", DescribeWindows(process, thread).c_str());
        return 0;
    }
    HWND main = WaitForMainWindow(argv[2]);
    if (main == nullptr) {
        std::fprintf(stderr, "%s", DescribeWindows(0, 0).c_str());
        return Fail(std::string("no window with the title ") + argv[2] + " within 90 s");
    }
    const auto is = [&](const char* name, int arguments) {
        return std::strcmp(command, name) == 0 && argc == 3 + arguments;
    };
    const int named = argc == 4 ? Lookup(argv[3]) : -1;
    if (std::strcmp(command, "points") == 0)
        return Points(main, argc - 3, argv + 3);
    if (is("answer", 1))
        return Answer(main, argv[3]);
    if (is("place", 2)) {
        return SetWindowPos(main, nullptr, 0, 0, std::atoi(argv[3]), std::atoi(argv[4]), SWP_NOZORDER)
                   ? 0
                   : FailWithWindows("cannot place the window", main);
    }
    if (is("button", 1))
        return Button(main, std::atoi(argv[3]));
    if (is("top", 0))
        return Top(main);
    if (is("wait-top", 1) || is("wait-top", 2))
        return WaitTop(main, argv[3], argc == 5 ? std::atof(argv[4]) : 0, false);
    if (is("wait-still", 2))
        return WaitTop(main, argv[3], std::atof(argv[4]), false, true);
    if (is("wait-closed", 1))
        return WaitClosed(main, argv[3]);
    if (is("wait-caret", 1)) {
        const bool last = std::strcmp(argv[3], "last") == 0;
        return WaitCaret(main, last ? -1 : std::atoi(argv[3]), argv[3][std::strlen(argv[3]) - 1] == '+');
    }
    if (is("view-home", 1))
        return ViewHome(main, std::atof(argv[3]));
    if (is("wait-past", 1))
        return WaitTop(main, argv[3], 0, true);
    if (std::strcmp(command, "find-time") == 0 && argc >= 4)
        return FindTime(main, argv[3], argc - 4, argv + 4);
    if (is("wait-line-end", 1))
        return WaitCaretAtLineEnd(main, std::atoi(argv[3]));
    if (is("save", 0))
        return Save(main);
    if (is("check-layout", 0))
        return CheckLayout(main);
    if (is("window", 0))
        return PrintWindow(main);
    if (is("menu", 0))
        return WaitForMenu(main);
    if (is("command", 1) && named >= 0)
        return PostMessageA(main, WM_COMMAND, named, 0) ? 0 : Fail("cannot post the command");
    if (is("scroll", 1) && named >= 0)
        return PostMessageA(main, WM_VSCROLL, named, 0) ? 0 : Fail("cannot post the scroll request");
    if (is("box", 0) || is("type", 1)) {
        HWND box = WaitForBox(main);
        if (box == nullptr)
            return NoBox(main, "box");
        if (is("box", 0))
            return PrintWindow(box);
        SendDlgItemMessageA(box, IDC_INPUT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
        return 0;
    }
    if (is("press", 1) && named >= 0)
        return Press(main, named);
    if (is("close", 0))
        return PostMessageA(main, WM_CLOSE, 0, 0) ? 0 : Fail("cannot post WM_CLOSE");
    return Fail(std::string("unknown command, name or number of arguments: ") + command);
}
