// The search compare built with mingw and timed under Wine, next to the
// C runtime's memchr there (Wine's own, not glibc's). Prints one line a
// case: milliseconds for 1 GiB and the rate.
#include "bench/compare_cases.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Scan>
void Time(const char* method, const char* name, Scan scan)
{
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        scan();
        QueryPerformanceCounter(&end);
        const double seconds = Seconds(start, end);
        if (seconds < best)
            best = seconds;
    }
    std::printf("%-12s %-24s %8.1f ms %6.2f GB/s\n", method, name, best * 1e3,
                static_cast<double>(BENCH_SIZE) / best / 1e9);
}

} // namespace

int main()
{
    auto* data = static_cast<uint8_t*>(VirtualAlloc(nullptr, BENCH_SIZE, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (data == nullptr) {
        std::printf("cannot allocate 1 GiB\n");
        return 1;
    }
    bool zeros = true;
    FillData(data, BENCH_SIZE, zeros);
    for (const CompareCase& c : CompareCases()) {
        if (c.zeros != zeros) {
            FillData(data, BENCH_SIZE, c.zeros);
            zeros = c.zeros;
        }
        uint8_t saved[64];
        const size_t placed = c.atTheEnd ? c.pattern.size() : 0;
        std::memcpy(saved, data + BENCH_SIZE - placed, placed);
        std::memcpy(data + BENCH_SIZE - placed, c.pattern.data(), placed);
        const size_t expected = c.atTheEnd ? BENCH_SIZE - placed : BENCH_SIZE;

        size_t found = 0;
        Time("FindPattern", c.name, [&] { found = ScanLikeTheSearch(data, BENCH_SIZE, c.pattern); });
        if (found != expected)
            std::printf("  wrong result %zu\n", found);
        if (c.pattern.size() == 1) {
            // Through a volatile pointer, so that the call is really made.
            void* (*volatile memchrCall)(const void*, int, size_t) = std::memchr;
            Time("memchr", c.name, [&] {
                const void* at = memchrCall(data, static_cast<uint8_t>(c.pattern[0]), BENCH_SIZE);
                found = at ? static_cast<size_t>(static_cast<const uint8_t*>(at) - data) : BENCH_SIZE;
            });
            if (found != expected)
                std::printf("  memchr: wrong result %zu\n", found);
        }
        std::memcpy(data + BENCH_SIZE - placed, saved, placed);
    }
    VirtualFree(data, 0, MEM_RELEASE);
    return 0;
}
