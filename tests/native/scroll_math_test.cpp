// The scroll shift and scroll range chosen for a file size.
#include "document/scroll_math.h"

#include <gtest/gtest.h>

namespace {

TEST(ScrollShiftFor, SizesAndRanges)
{
    struct Case {
        uint32_t fileSize, shift, maximum;
    };
    const Case cases[] = {
        {0, 0, 1},           {1, 0, 2},           {0x7FFE, 0, 32767},  {0x7FFF, 1, 16384},
        {0x8000, 1, 16385},  {0xFFFD, 1, 32767},  {0xFFFE, 2, 16384},  {0x10000, 2, 16385},
        {0x100000, 6, 16385}, {0xFFFFFFFF, 18, 16384},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "fileSize 0x" << std::hex << c.fileSize);
        const uint32_t shift = ScrollShiftFor(c.fileSize);
        EXPECT_EQ(shift, c.shift);
        EXPECT_EQ(ScrollMaximum(c.fileSize, shift), c.maximum);
    }
}

TEST(ScrollShiftFor, RangeNeverPassesTheScrollBarLimit)
{
    for (uint64_t size = 0; size <= 0xFFFFFFFF; size = size * 3 / 2 + 7) {
        const uint32_t shift = ScrollShiftFor(static_cast<uint32_t>(size));
        EXPECT_LT(static_cast<uint32_t>(size) >> shift, 0x7FFFu);
        if (shift > 0) {
            EXPECT_GE(static_cast<uint32_t>(size) >> (shift - 1), 0x7FFFu) << size;
        }
    }
}

} // namespace

namespace {

TEST(NewTopOffset, EveryCodeWithWrapEndAndAlignment)
{
    struct Case {
        const char* name;
        uint32_t top, fileSize, shift;
        unsigned code, position;
        uint32_t expected;
    };
    const uint32_t MIB = 0x100000;
    const Case cases[] = {
        {"line down", 0x100, MIB, 6, SCROLL_LINE_DOWN, 0, 0x110},
        {"line up", 0x100, MIB, 6, SCROLL_LINE_UP, 0, 0xF0},
        {"line up at 0 wraps to 0", 0, MIB, 6, SCROLL_LINE_UP, 0, 0},
        {"page up from 0x80 wraps to 0", 0x80, MIB, 6, SCROLL_PAGE_UP, 0, 0},
        {"page down", 0x100, MIB, 6, SCROLL_PAGE_DOWN, 0, 0x200},
        {"page up", 0x300, MIB, 6, SCROLL_PAGE_UP, 0, 0x200},
        {"line down on the last line", 0x1000, 0x1005, 0, SCROLL_LINE_DOWN, 0, 0x1000},
        {"page down near the end", 0xF80, 0x1005, 0, SCROLL_PAGE_DOWN, 0, 0x1000},
        {"thumb position aligns down", 0, 0x1005, 0, SCROLL_THUMB_POSITION, 100, 0x60},
        {"thumb track 1000 in 1 MiB", 0, MIB, 6, SCROLL_THUMB_TRACK, 1000, 0xFA00},
        {"highest thumb gives the last line", 0, MIB, 6, SCROLL_THUMB_POSITION, 16385, 0xFFFF0},
        {"top", 0x5000, MIB, 6, SCROLL_TOP, 0, 0},
        {"bottom", 0, MIB, 6, SCROLL_BOTTOM, 0, 0xFFFF0},
        {"bottom of a partial last line", 0, 0x1005, 0, SCROLL_BOTTOM, 77, 0x1000},
        {"bottom of a 4 GiB file", 0, 0xFFFFFFFF, 18, SCROLL_BOTTOM, 0, 0xFFFFFFF0},
        {"bottom of an empty file", 0, 0, 0, SCROLL_BOTTOM, 0, 0},
        {"end scroll moves nothing", 0x120, MIB, 6, SCROLL_END, 0, 0x120},
        {"unknown code moves nothing", 0x120, MIB, 6, 9, 0, 0x120},
        {"empty file stays at 0", 0, 0, 0, SCROLL_PAGE_DOWN, 0, 0},
        {"huge file: page down below the wrap line", 0xFFFFFE00, 0xFFFFFFFF, 18, SCROLL_PAGE_DOWN, 0, 0},
        {"huge file: line down within it", 0x80000000, 0xFFFFFFFF, 18, SCROLL_LINE_DOWN, 0, 0x80000010},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NewTopOffset(c.top, c.fileSize, c.shift, c.code, c.position), c.expected) << c.name;
}

TEST(LineInFile, JumpTargets)
{
    struct Case {
        uint32_t offset, fileSize, expected;
    };
    const Case cases[] = {
        {0x1F, 0x1005, 0x10}, {0x1005, 0x1005, 0x1000}, {0xFFFFFFFF, 0x1005, 0x1000},
        {0, 0, 0}, {0x10, 0, 0}, {0xFFFFFF00, 0xFFFFFFFF, 0xFFFFFF00},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LineInFile(c.offset, c.fileSize), c.expected) << std::hex << c.offset << " in " << c.fileSize;
}

} // namespace
