// scroll_math.h - mapping between file offsets and scroll-bar positions.
#pragma once

#include <cstdint>

// Smallest shift k for which fileSize >> k is below 32767 (0x7FFF), so that
// the scroll range 0 .. (fileSize >> k) + 1 stays within 32767.
uint32_t ScrollShiftFor(uint32_t fileSize);

// Highest scroll-bar position for a file of fileSize bytes under shift.
uint32_t ScrollMaximum(uint32_t fileSize, uint32_t shift);
