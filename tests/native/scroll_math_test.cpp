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
