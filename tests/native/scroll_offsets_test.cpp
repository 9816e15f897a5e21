// The scroll shift and scroll range chosen for a file size.
#include "document/scroll_offsets.h"

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
        {"huge file: page down onto the line 0xFFFFFF00", 0xFFFFFE00, 0xFFFFFFFF, 18, SCROLL_PAGE_DOWN, 0, 0xFFFFFF00},
        {"huge file: line down within it", 0x80000000, 0xFFFFFFFF, 18, SCROLL_LINE_DOWN, 0, 0x80000010},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NewTopOffset(c.top, c.fileSize, c.shift, c.code, c.position), c.expected) << c.name;
}

// Near the top of the 32-bit range a step never wraps to the start: back
// gives 0 only past the start, forward stops on the last line, and the
// highest thumb position gives the last line.
TEST(NewTopOffset, NearTheTopOfTheRangeNothingWraps)
{
    struct Case {
        const char* name;
        uint32_t top, fileSize;
        unsigned code, position;
        uint32_t expected;
    };
    const Case cases[] = {
        {"4 GiB-1: line up from the last line", 0xFFFFFFF0, 0xFFFFFFFF, SCROLL_LINE_UP, 0, 0xFFFFFFE0},
        {"4 GiB-1: page up from the last line", 0xFFFFFFF0, 0xFFFFFFFF, SCROLL_PAGE_UP, 0, 0xFFFFFEF0},
        {"4 GiB-1: line up from 0xFFFFFF00", 0xFFFFFF00, 0xFFFFFFFF, SCROLL_LINE_UP, 0, 0xFFFFFEF0},
        {"4 GiB-1: line down onto 0xFFFFFF00", 0xFFFFFEF0, 0xFFFFFFFF, SCROLL_LINE_DOWN, 0, 0xFFFFFF00},
        {"4 GiB-1: line down on the last line", 0xFFFFFFF0, 0xFFFFFFFF, SCROLL_LINE_DOWN, 0, 0xFFFFFFF0},
        {"4 GiB-1: page down past 2^32", 0xFFFFFF80, 0xFFFFFFFF, SCROLL_PAGE_DOWN, 0, 0xFFFFFFF0},
        {"4 GiB-1: line up at 0", 0, 0xFFFFFFFF, SCROLL_LINE_UP, 0, 0},
        {"4 GiB-1: page up from 0x80", 0x80, 0xFFFFFFFF, SCROLL_PAGE_UP, 0, 0},
        {"4 GiB-1: page up from 0x100", 0x100, 0xFFFFFFFF, SCROLL_PAGE_UP, 0, 0},
        {"4 GiB-1: unknown code on the last line", 0xFFFFFFF0, 0xFFFFFFFF, 9, 0, 0xFFFFFFF0},
        {"4 GiB-1: end scroll on the last line", 0xFFFFFFF0, 0xFFFFFFFF, SCROLL_END, 0, 0xFFFFFFF0},
        {"4 GiB-1: thumb one below the highest", 0, 0xFFFFFFFF, SCROLL_THUMB_POSITION, 16383, 0xFFFC0000},
        {"4 GiB-1: highest thumb position", 0, 0xFFFFFFFF, SCROLL_THUMB_POSITION, 16384, 0xFFFFFFF0},
        {"4 GiB-1: highest thumb tracked", 0xFFFC0000, 0xFFFFFFFF, SCROLL_THUMB_TRACK, 16384, 0xFFFFFFF0},
        {"4 GiB-1: thumb far beyond the range", 0, 0xFFFFFFFF, SCROLL_THUMB_TRACK, 0xFFFF, 0xFFFFFFF0},
        {"0xFFFE0000: highest thumb position", 0, 0xFFFE0000, SCROLL_THUMB_POSITION, 16384, 0xFFFDFFF0},
        {"0xFFFE0000: thumb one below", 0, 0xFFFE0000, SCROLL_THUMB_POSITION, 16383, 0xFFFC0000},
        {"0xFFFDFFFF: highest thumb position", 0, 0xFFFDFFFF, SCROLL_THUMB_POSITION, 32767, 0xFFFDFFF0},
        {"0xFFFFFF00: line down on the last line", 0xFFFFFEF0, 0xFFFFFF00, SCROLL_LINE_DOWN, 0, 0xFFFFFEF0},
        {"0xFFFFFF00: page down near the end", 0xFFFFFE10, 0xFFFFFF00, SCROLL_PAGE_DOWN, 0, 0xFFFFFEF0},
        {"0xFFFFFF00: line up from the last line", 0xFFFFFEF0, 0xFFFFFF00, SCROLL_LINE_UP, 0, 0xFFFFFEE0},
        {"0xFFFFFF00: bottom", 0, 0xFFFFFF00, SCROLL_BOTTOM, 0, 0xFFFFFEF0},
        {"0xFFFFFEFF: line down on the last line", 0xFFFFFEF0, 0xFFFFFEFF, SCROLL_LINE_DOWN, 0, 0xFFFFFEF0},
        {"0xFFFFFEFF: page down near the end", 0xFFFFFE00, 0xFFFFFEFF, SCROLL_PAGE_DOWN, 0, 0xFFFFFEF0},
        {"0xFFFFFEFF: page up from the last line", 0xFFFFFEF0, 0xFFFFFEFF, SCROLL_PAGE_UP, 0, 0xFFFFFDF0},
        {"0xFFFFFEFF: line up at 0", 0, 0xFFFFFEFF, SCROLL_LINE_UP, 0, 0},
    };
    for (const Case& c : cases) {
        const uint32_t shift = ScrollShiftFor(c.fileSize);
        EXPECT_EQ(NewTopOffset(c.top, c.fileSize, shift, c.code, c.position), c.expected)
            << c.name << ": got 0x" << std::hex << NewTopOffset(c.top, c.fileSize, shift, c.code, c.position);
    }
}

// The rule of 32-bit steps: results from 0xFFFFFF00 up count as a step back
// past the start and give 0, then the end rule and the alignment apply.
uint32_t WrapRule(uint32_t top, uint32_t fileSize, uint32_t shift, unsigned code, unsigned position)
{
    const uint32_t steps[] = {top - 16, top + 16, top - 256, top + 256,
                              position << shift, position << shift, 0, fileSize};
    if (code == SCROLL_END)
        return top;
    uint32_t next = code < SCROLL_END ? steps[code] : top;
    if (next >= 0xFFFFFF00)
        next = 0;
    return LineInFile(next, fileSize);
}

// Files below 0xFFFFFF00 bytes whose thumb cannot reach 2^32 scroll as the
// wrap rule has them, but for a step forward that would land from
// 0xFFFFFF00 up: it stops on the last line.
TEST(NewTopOffset, SmallerFilesKeepTheWrapRule)
{
    for (uint64_t size = 0; size < 0xFFFE0000; size = size * 5 / 3 + 0x1003) {
        const uint32_t fileSize = static_cast<uint32_t>(size);
        const uint32_t shift = ScrollShiftFor(fileSize);
        const uint32_t last = LineInFile(fileSize, fileSize);
        for (uint32_t top : {0u, 0x10u, 0x80u, 0x100u, last / 2 & ~15u, last - (last >= 0x100 ? 0x100 : 0), last}) {
            if (top > last)
                continue;
            for (unsigned code = 0; code <= 10; ++code) {
                for (unsigned position : {0u, 1u, 100u, ScrollMaximum(fileSize, shift) - 1, ScrollMaximum(fileSize, shift)}) {
                    const uint32_t got = NewTopOffset(top, fileSize, shift, code, position);
                    const uint32_t want = WrapRule(top, fileSize, shift, code, position);
                    ASSERT_EQ(got, want) << "size 0x" << std::hex << fileSize << " top 0x" << top
                                         << " code " << std::dec << code << " position " << position;
                }
            }
        }
    }
    // Files above 0xFFFFFE00 bytes: only a step forward that the wrap rule
    // turned into 0 differs, and it gives the last line.
    for (uint32_t fileSize : {0xFFFFFE01u, 0xFFFFFE80u, 0xFFFFFEFFu}) {
        const uint32_t shift = ScrollShiftFor(fileSize);
        const uint32_t last = LineInFile(fileSize, fileSize);
        for (uint32_t top = 0xFFFFFD00; top <= last; top += 16) {
            for (unsigned code = 0; code <= 10; ++code) {
                const uint32_t wrapped = WrapRule(top, fileSize, shift, code, 0);
                const bool forward = code == SCROLL_LINE_DOWN || code == SCROLL_PAGE_DOWN;
                const uint32_t want = forward && wrapped == 0 ? last : wrapped;
                ASSERT_EQ(NewTopOffset(top, fileSize, shift, code, 0), want)
                    << "size 0x" << std::hex << fileSize << " top 0x" << top << " code " << std::dec << code;
            }
        }
    }
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

// Several requests of one code in a row: each from the top the one before
// left, stopping at the start, at the last line and at 2^32.
TEST(TopAfterRequests, RequestsInARow)
{
    constexpr uint32_t HUGE_SIZE = 0xFFFFFFFF; // a file of 4 GiB or more
    struct Case {
        const char* name;
        uint32_t top, fileSize;
        unsigned code;
        uint32_t count, expected;
    };
    const Case cases[] = {
        {"no request", 0x100, 0x1000, SCROLL_LINE_DOWN, 0, 0x100},
        {"one line", 0x100, 0x1000, SCROLL_LINE_DOWN, 1, 0x110},
        {"three lines", 0x100, 0x1000, SCROLL_LINE_DOWN, 3, 0x130},
        {"three lines back", 0x100, 0x1000, SCROLL_LINE_UP, 3, 0xD0},
        {"pages", 0x100, 0x1000, SCROLL_PAGE_DOWN, 4, 0x500},
        {"a long run of lines", 0, 0x100000, SCROLL_LINE_DOWN, 5000, 5000 * 16},
        {"lines stop at the last line", 0xFD0, 0x1000, SCROLL_LINE_DOWN, 5, 0xFF0},
        {"pages stop at the last line", 0xE00, 0x1005, SCROLL_PAGE_DOWN, 3, 0x1000},
        {"lines back stop at the start", 0x20, 0x1000, SCROLL_LINE_UP, 5, 0},
        {"pages back stop at the start", 0x300, 0x1000, SCROLL_PAGE_UP, 7, 0},
        {"the most a count can ask", 0x20, 0x1000, SCROLL_LINE_UP, 0xFFFFFFFF, 0},
        {"lines at the top of the offsets", 0xFFFFFFC0, HUGE_SIZE, SCROLL_LINE_DOWN, 9, 0xFFFFFFF0},
        {"pages at the top of the offsets", 0xFFFFFD00, HUGE_SIZE, SCROLL_PAGE_DOWN, 9, 0xFFFFFFF0},
        {"pages back from the top of the offsets", 0xFFFFFFF0, HUGE_SIZE, SCROLL_PAGE_UP, 2, 0xFFFFFDF0},
        {"the end request moves nothing", 0x100, 0x1000, SCROLL_END, 3, 0x100},
        {"an empty file", 0, 0, SCROLL_LINE_DOWN, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const uint32_t shift = ScrollShiftFor(c.fileSize);
        EXPECT_EQ(TopAfterRequests(c.top, c.fileSize, shift, c.code, 0, c.count), c.expected)
            << std::hex << "top " << c.top << ", size " << c.fileSize << std::dec << ", code " << c.code
            << ", count " << c.count;
    }
}

} // namespace
