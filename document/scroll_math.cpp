// scroll_math.cpp - scroll shift and scroll range of a file.
#include "document/scroll_math.h"

uint32_t ScrollShiftFor(uint32_t fileSize)
{
    uint32_t shift = 0;
    uint32_t s = fileSize;
    while (s >= 0x8000) {
        s >>= 1;
        ++shift;
    }
    if (s == 0x7FFF)
        ++shift;
    return shift;
}

uint32_t ScrollMaximum(uint32_t fileSize, uint32_t shift)
{
    return (fileSize >> shift) + 1;
}
