// compare.h - the search's hot loop: finding the pattern in one chunk.
#pragma once

#include <cstdint>

constexpr uint32_t PATTERN_CAPACITY = 4096; // the longest pattern

constexpr uint32_t NO_MATCH = 0xFFFFFFFF;

// The lowest start position i below positions at which the whole pattern
// (length bytes) lies within the count bytes of data and equals them, as
// unsigned bytes; NO_MATCH when there is none. An empty pattern matches
// nowhere.
uint32_t FindPattern(const uint8_t* data, uint32_t count, uint32_t positions,
                     const uint8_t* pattern, uint32_t length);

// The same with the 16-wide filter alone, whatever the processor has; the
// tests compare both against a plain loop.
uint32_t FindPatternSse2(const uint8_t* data, uint32_t count, uint32_t positions,
                         const uint8_t* pattern, uint32_t length);
