// search_bench_windows - times the search and the scroll in the real main
// window under Wine; bench/run runs it next to its references.
//   search FILE N       one search from the top for the file's last N bytes:
//                       prints the seconds it took
//   abort FILE TRIALS   searches FILE for a pattern it does not hold and
//                       posts the abort command from another thread while
//                       the search runs: prints the milliseconds from the
//                       post to the creation of the aborted message's box
//                       (the search has seen the abort) and to its
//                       activation (the box is there), one line a trial
//   scroll FILE TRIALS  in each trial, in turn: the view's own replacement
//                       of its text by a dump one line on, then one line
//                       down, one page down, one wheel notch down and the
//                       thumb one position down (each with its reload,
//                       render and repaint): prints the microseconds of
//                       the five on one line a trial
#include "app/main_window.h"
#include "document/document.h"
#include "document/scroll.h"
#include "dump/dump_text.h"
#include "dump/render.h"
#include "resources/instance.h"
#include "resources/resource.h"
#include "search/search.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

double Seconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND mainWindow;
volatile double abortPosted; // when the abort command was posted
double boxMade;              // when the search's message box was created
double boxShown;             // when it was activated
char boxText[256];

// Notes when the search's message box comes up and closes it.
LRESULT CALLBACK BoxHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && boxMade == 0)
        boxMade = Seconds();
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char className[16] = "";
        GetClassNameA(box, className, sizeof className);
        if (std::strcmp(className, "#32770") == 0 && boxShown == 0) {
            boxShown = Seconds();
            GetDlgItemTextA(box, 0xFFFF, boxText, sizeof boxText);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI PostAbortLater(void*)
{
    Sleep(100);
    abortPosted = Seconds();
    PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(CMD_FIND_ABORT, 0), 0);
    return 0;
}

int TimeSearch(uint32_t length)
{
    const uint32_t size = document.fileSize;
    uint32_t read = 0;
    if (length == 0 || length > 64 ||
        !FileReadAt(document.fileHandle, size, size - length, SearchPattern.patternBytes, length, &read) ||
        read != length)
        return 1;
    SearchPattern.patternLength = length;
    const double start = Seconds();
    RunSearch(mainWindow);
    const double seconds = Seconds() - start;
    const uint32_t expected = (size - length) & ~15u;
    if (document.topOffset != expected) {
        std::printf("search ended at %08X, not %08X\n", document.topOffset, expected);
        return 1;
    }
    std::printf("%.6f\n", seconds);
    return 0;
}

int TimeAborts(int trials)
{
    std::memcpy(SearchPattern.patternBytes, "\xFFnowhere\xFF", 9);
    SearchPattern.patternLength = 9;
    HHOOK hook = SetWindowsHookExA(WH_CBT, BoxHook, nullptr, GetCurrentThreadId());
    char aborted[256];
    LoadStringA(instanceHandle, STR_ABORTED, aborted, sizeof aborted);
    int failures = 0;
    for (int trial = 0; trial < trials; ++trial) {
        document.topOffset = 0;
        boxMade = 0;
        boxShown = 0;
        abortPosted = 0;
        HANDLE thread = CreateThread(nullptr, 0, PostAbortLater, nullptr, 0, nullptr);
        RunSearch(mainWindow);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        if (boxShown == 0 || std::strcmp(boxText, aborted) != 0) {
            std::printf("no aborted message (the search ended first?)\n");
            ++failures;
            continue;
        }
        std::printf("%.3f %.3f\n", (boxMade - abortPosted) * 1000, (boxShown - abortPosted) * 1000);
    }
    UnhookWindowsHookEx(hook);
    return failures != 0;
}

// The dump at the top offsets top and top + 16, as the view holds them.
bool CaptureDumps(std::string (&texts)[2])
{
    static char text[VIEW_TEXT_SIZE];
    for (int k = 0; k < 2; ++k) {
        document.topOffset = static_cast<uint32_t>(k * 16);
        ReloadWindow();
        RenderView(mainWindow);
        GetDlgItemTextA(mainWindow, IDC_VIEW, text, sizeof text);
        texts[k] = text;
        if (texts[k].size() < 64 * LINE_LENGTH)
            return false;
    }
    return texts[0] != texts[1];
}

// Microseconds of one call of move and the repaint that it leaves due.
template <typename Move>
double Timed(Move move)
{
    const double start = Seconds();
    move();
    UpdateWindow(mainWindow);
    return (Seconds() - start) * 1e6;
}

int TimeScrolls(int trials)
{
    std::string dumps[2];
    if (!CaptureDumps(dumps)) {
        std::printf("no dump to replace the view's text with\n");
        return 1;
    }
    UINT linesPerNotch = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &linesPerNotch, 0);
    document.topOffset = 0;
    ReloadWindow();
    RenderView(mainWindow);
    UpdateWindow(mainWindow);
    HWND view = GetDlgItem(mainWindow, IDC_VIEW);
    const uint32_t shift = document.scrollShift;
    for (int trial = 0; trial < trials; ++trial) {
        double us[5];
        us[0] = Timed([&] { SetWindowTextA(view, dumps[(trial + 1) % 2].c_str()); });
        uint32_t before = document.topOffset;
        const auto check = [&](const char* name, uint32_t expected) {
            if (document.topOffset != expected) {
                std::printf("%s ended at %08X, not %08X\n", name, document.topOffset, expected);
                return false;
            }
            before = document.topOffset;
            return true;
        };
        us[1] = Timed([&] { ScrollView(mainWindow, SB_LINEDOWN, 0); });
        if (!check("line", before + 16))
            return 1;
        us[2] = Timed([&] { ScrollView(mainWindow, SB_PAGEDOWN, 0); });
        if (!check("page", before + 256))
            return 1;
        us[3] = Timed([&] { ScrollByWheel(mainWindow, -WHEEL_DELTA); });
        if (!check("wheel", before + 16 * linesPerNotch))
            return 1;
        const unsigned thumb = (before >> shift) + 1;
        us[4] = Timed([&] { ScrollView(mainWindow, SB_THUMBTRACK, thumb); });
        if (!check("thumb", thumb << shift))
            return 1;
        std::printf("%.1f %.1f %.1f %.1f %.1f\n", us[0], us[1], us[2], us[3], us[4]);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::printf("usage: search_bench_windows search|abort|scroll FILE N\n");
        return 2;
    }
    instanceHandle = GetModuleHandleA(nullptr);
    mainWindow = CreateMainWindow();
    if (mainWindow == nullptr)
        return 1;
    ShowWindow(mainWindow, SW_SHOW);
    UpdateWindow(mainWindow);
    OpenDocument(mainWindow, argv[2]);
    if (document.fileHandle == nullptr || document.fileSize < 0x100000) {
        std::printf("cannot open %s\n", argv[2]);
        return 1;
    }
    const int n = std::atoi(argv[3]);
    int result = 2;
    if (std::strcmp(argv[1], "search") == 0)
        result = TimeSearch(static_cast<uint32_t>(n));
    else if (std::strcmp(argv[1], "abort") == 0)
        result = TimeAborts(n);
    else if (std::strcmp(argv[1], "scroll") == 0)
        result = TimeScrolls(n);
    CloseDocument();
    DestroyWindow(mainWindow);
    return result;
}
