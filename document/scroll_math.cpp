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

uint32_t LineInFile(uint32_t offset, uint32_t fileSize)
{
    if (offset >= fileSize)
        offset = fileSize == 0 ? 0 : fileSize - 1;
    return offset & ~uint32_t{15};
}

uint32_t NewTopOffset(uint32_t topOffset, uint32_t fileSize, uint32_t shift, unsigned code,
                      unsigned position)
{
    uint32_t top = topOffset;
    switch (code) {
    case SCROLL_LINE_UP: top -= 16; break;
    case SCROLL_LINE_DOWN: top += 16; break;
    case SCROLL_PAGE_UP: top -= 256; break;
    case SCROLL_PAGE_DOWN: top += 256; break;
    case SCROLL_THUMB_POSITION:
    case SCROLL_THUMB_TRACK: top = shift < 32 ? uint32_t{position} << shift : 0; break;
    case SCROLL_TOP: top = 0; break;
    case SCROLL_BOTTOM: return LineInFile(fileSize, fileSize);
    case SCROLL_END: return topOffset;
    default: break;
    }
    if (top >= 0xFFFFFF00)
        top = 0;
    return LineInFile(top, fileSize);
}
