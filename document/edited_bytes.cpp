// edited_bytes.cpp - the marks of the window's edited bytes and the clip of a
// transfer at the end of the file.
#include "document/edited_bytes.h"

namespace {

bool Marked(const EditedBytes& edited, uint32_t i)
{
    return (edited.bits[i / 8] >> (i % 8) & 1) != 0;
}

// The first index from i on, below end, whose mark is set (or not set, for
// set false); end when there is none. Skips whole bytes of the map at a time.
uint32_t FindMark(const EditedBytes& edited, uint32_t i, uint32_t end, bool set)
{
    const uint8_t skip = set ? 0x00 : 0xFF;
    while (i < end) {
        if (i % 8 == 0 && edited.bits[i / 8] == skip) {
            i += 8;
            continue;
        }
        if (Marked(edited, i) == set)
            return i;
        ++i;
    }
    return end;
}

} // namespace

void MarkEdited(EditedBytes& edited, uint32_t index, uint32_t count)
{
    const uint32_t end =
        index < WINDOW_SIZE && WINDOW_SIZE - index > count ? index + count : WINDOW_SIZE;
    for (uint32_t i = index; i < end; ++i)
        edited.bits[i / 8] |= static_cast<uint8_t>(1u << (i % 8));
}

void ClearEdited(EditedBytes& edited, uint32_t start, uint32_t end)
{
    if (end > WINDOW_SIZE)
        end = WINDOW_SIZE;
    for (uint32_t i = start; i < end; ++i)
        edited.bits[i / 8] &= static_cast<uint8_t>(~(1u << (i % 8)));
}

ByteRun NextEditedRun(const EditedBytes& edited, uint32_t from, uint32_t limit)
{
    if (limit > WINDOW_SIZE)
        limit = WINDOW_SIZE;
    if (from >= limit)
        return {limit, limit};
    const uint32_t start = FindMark(edited, from, limit, true);
    return {start, FindMark(edited, start, limit, false)};
}

void ClearWritten(EditedBytes& edited, const ByteRun& run, uint32_t written)
{
    const uint32_t count = run.end - run.start;
    ClearEdited(edited, run.start, run.start + (written < count ? written : count));
}
