// scroll_offsets.cpp - scroll shift and scroll range of a file.
#include "document/scroll_offsets.h"

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
    return offset & ~(LINE_BYTES - 1);
}

uint32_t NewTopOffset(uint32_t topOffset, uint32_t fileSize, uint32_t shift, unsigned code,
                      unsigned position)
{
    // Offsets are worked out in 64 bits, so that nothing wraps past 2^32.
    uint64_t top = topOffset;
    uint32_t back = 0;
    switch (code) {
    case SCROLL_LINE_UP: back = LINE_BYTES; break;
    case SCROLL_LINE_DOWN: top += LINE_BYTES; break;
    case SCROLL_PAGE_UP: back = PAGE_BYTES; break;
    case SCROLL_PAGE_DOWN: top += PAGE_BYTES; break;
    case SCROLL_THUMB_POSITION:
    case SCROLL_THUMB_TRACK: top = uint64_t{position} << (shift < 32 ? shift : 32); break;
    case SCROLL_TOP: top = 0; break;
    case SCROLL_BOTTOM: top = fileSize; break;
    case SCROLL_END: return topOffset;
    default: return LineInFile(topOffset, fileSize);
    }
    if (back != 0)
        top = topOffset < back ? 0 : topOffset - back; // past the start: the start
    // From the end of the file on, and beyond 2^32, the last line.
    return LineInFile(top < fileSize ? static_cast<uint32_t>(top) : fileSize, fileSize);
}

uint32_t TopAfterRequests(uint32_t topOffset, uint32_t fileSize, uint32_t shift, unsigned code,
                          unsigned position, uint32_t count)
{
    uint32_t top = topOffset;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t next = NewTopOffset(top, fileSize, shift, code, position);
        if (next == top)
            break;
        top = next;
    }
    return top;
}
