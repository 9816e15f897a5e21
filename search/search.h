// search.h - the search pattern and the flag of a running search.
#pragma once

#include <cstdint>

constexpr uint32_t PATTERN_CAPACITY = 4096;

struct SearchPatternRecord {
    uint8_t patternBytes[PATTERN_CAPACITY];
    uint32_t patternLength; // 0: no pattern entered
};

extern SearchPatternRecord SearchPattern;

// 1 while a search scans; the abort command and a close request set it to 0
// to stop the scan before its next chunk.
extern int searchActive;
