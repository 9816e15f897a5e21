// search_bench_windows FILE - times a whole search under Wine and the parts
// it is made of. Opens FILE in the real main window and searches for its
// last 8 bytes from the top; then runs the search's own loop once more with
// a clock around the progress text, the chunk read with the compare, and
// the message pump (which repaints the view after each progress text).
#include "app/main_window.h"
#include "resources/instance.h"
#include "document/document.h"
#include "resources/resource.h"
#include "search/search.h"

#include <cstdio>
#include <cstring>

namespace {

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Seconds(LARGE_INTEGER from)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(Now().QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Report(const char* what, double seconds, double size)
{
    std::printf("%-34s %8.3f s %8.2f GB/s\n", what, seconds, size / seconds / 1e9);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::printf("usage: search_bench_windows FILE\n");
        return 2;
    }
    instanceHandle = GetModuleHandleA(nullptr);
    HWND window = CreateMainWindow();
    if (window == nullptr)
        return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    OpenDocument(window, argv[1]);
    if (document.fileHandle == nullptr || document.fileSize < 64) {
        std::printf("cannot open %s\n", argv[1]);
        return 1;
    }
    const uint32_t size = document.fileSize;
    uint32_t read = 0;
    FileReadAt(document.fileHandle, size, size - 8, SearchPattern.patternBytes, 8, &read);
    SearchPattern.patternLength = 8;
    const uint32_t chunks = (size - 16 + SEARCH_STEP - 1) / SEARCH_STEP;
    std::printf("file %u bytes, %u chunks\n", size, chunks);

    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        document.topOffset = 0;
        ReloadWindow();
        const LARGE_INTEGER start = Now();
        RunSearch(window);
        const double seconds = Seconds(start);
        if (seconds < best)
            best = seconds;
        if (document.topOffset != ((size - 8) & ~15u))
            std::printf("search ended at %08X\n", document.topOffset);
    }
    Report("RunSearch, whole file", best, size);

    // The same loop as the search's, with a clock around each of its parts.
    char caption[256];
    LoadStringA(instanceHandle, STR_SEARCH, caption, sizeof caption);
    static uint8_t chunk[SEARCH_CHUNK];
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    LONGLONG progressTicks = 0, pumpTicks = 0, scanTicks = 0;
    document.topOffset = 0;
    uint32_t found = NO_MATCH;
    for (uint32_t position = 16; position < size && found == NO_MATCH; position += SEARCH_STEP) {
        const LARGE_INTEGER t0 = Now();
        char progress[256];
        wsprintfA(progress, "%s(%08X)", caption, position);
        SetDlgItemTextA(window, IDC_VIEW, progress);
        const LARGE_INTEGER t1 = Now();
        uint32_t count = 0;
        FileReadAt(document.fileHandle, size, position, chunk, SEARCH_CHUNK, &count);
        found = FindPattern(chunk, count, SEARCH_STEP, SearchPattern.patternBytes, 8);
        const LARGE_INTEGER t2 = Now();
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            GetMessageA(&message, nullptr, 0, 0);
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const LARGE_INTEGER t3 = Now();
        progressTicks += t1.QuadPart - t0.QuadPart;
        scanTicks += t2.QuadPart - t1.QuadPart;
        pumpTicks += t3.QuadPart - t2.QuadPart;
    }
    const auto seconds = [&](LONGLONG ticks) {
        return static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
    };
    Report("progress text (SetDlgItemTextA)", seconds(progressTicks), size);
    Report("pump (repaints the view)", seconds(pumpTicks), size);
    Report("chunk reads and compare", seconds(scanTicks), size);
    const double parts = seconds(progressTicks + pumpTicks + scanTicks);
    std::printf("of the instrumented loop (%.3f s): progress %.0f%%, pump %.0f%%, reads and compare %.0f%%\n",
                parts, 100 * seconds(progressTicks) / parts, 100 * seconds(pumpTicks) / parts,
                100 * seconds(scanTicks) / parts);

    CloseHandle(document.fileHandle);
    document.fileHandle = nullptr;
    DestroyWindow(window);
    return 0;
}
