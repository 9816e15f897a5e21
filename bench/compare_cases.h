// compare_cases.h - the data and patterns that both compare benchmarks use
// (the native one with Google Benchmark, the Windows one under Wine).
#pragma once

#include "search/chunk_walk.h"
#include "search/compare.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

constexpr size_t BENCH_SIZE = size_t{1} << 30; // 1 GiB

struct CompareCase {
    const char* name;
    std::string pattern;
    bool zeros;     // data all zeros, else printable text
    bool atTheEnd;  // the pattern is put into the last bytes of the data
};

inline const std::vector<CompareCase>& CompareCases()
{
    static const std::vector<CompareCase> cases = {
        {"1 byte absent", "\xFF", false, false},
        {"1 byte at the end", "\xFF", false, true},
        {"6 bytes absent", "VUKO!?", false, false},
        {"6 bytes at the end", "VUKO!?", false, true},
        {"64 bytes absent", std::string(63, 'x') + "?", false, false},
        {"64 bytes at the end", std::string(63, 'x') + "?", false, true},
        {"00 00 00 01 over zeros", std::string("\0\0\0\1", 4), true, false},
    };
    return cases;
}

// Printable text (bytes 0x20..0x7E) from a fixed generator, or zeros.
inline void FillData(uint8_t* data, size_t size, bool zeros)
{
    if (zeros) {
        std::memset(data, 0, size);
        return;
    }
    uint32_t state = 0x12345678;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1664525 + 1013904223;
        data[i] = static_cast<uint8_t>(0x20 + (state >> 24) % 95);
    }
}

// Searches data chunk by chunk as the search does: SEARCH_STEP start
// positions in each SEARCH_CHUNK bytes. Returns the match's offset or
// BENCH_SIZE when there is none.
inline size_t ScanLikeTheSearch(const uint8_t* data, size_t size, const std::string& pattern)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(pattern.data());
    for (size_t position = 0; position < size; position += SEARCH_STEP) {
        const size_t left = size - position;
        const uint32_t count = static_cast<uint32_t>(left < SEARCH_CHUNK ? left : SEARCH_CHUNK);
        const uint32_t found = FindPattern(data + position, count, SEARCH_STEP, bytes,
                                           static_cast<uint32_t>(pattern.size()));
        if (found != NO_MATCH)
            return position + found;
    }
    return BENCH_SIZE;
}
