// Wheel rotation turned into scroll-bar steps, one message after another.
#include "document/scroll_offsets.h"
#include "document/wheel_steps.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Step {
    unsigned code;
    uint32_t count;
    bool operator==(const Step&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Step& step)
{
    return out << "{code " << step.code << ", count " << step.count << "}";
}

constexpr Step NONE = {0, 0}; // no step: the code does not matter

TEST(StepsForWheel, MessagesInARow)
{
    struct Case {
        const char* name;
        uint32_t linesPerNotch;
        std::vector<int32_t> deltas;
        std::vector<Step> steps; // one for each delta
        int32_t restAfter;
    };
    const Case cases[] = {
        {"a notch back, the default three lines", 3, {120}, {{SCROLL_LINE_UP, 3}}, 0},
        {"a notch forward", 3, {-120}, {{SCROLL_LINE_DOWN, 3}}, 0},
        {"two notches in one message", 3, {-240}, {{SCROLL_LINE_DOWN, 6}}, 0},
        {"one line a notch", 1, {120, -120}, {{SCROLL_LINE_UP, 1}, {SCROLL_LINE_DOWN, 1}}, 0},
        {"thirds of a notch add up to a notch", 3, {-40, -40, -40},
         {{SCROLL_LINE_DOWN, 1}, {SCROLL_LINE_DOWN, 1}, {SCROLL_LINE_DOWN, 1}}, 0},
        {"quarters: a line once a third of a notch is reached", 3, {30, 30, 30, 30},
         {NONE, {SCROLL_LINE_UP, 1}, {SCROLL_LINE_UP, 1}, {SCROLL_LINE_UP, 1}}, 0},
        {"tiny steps keep what made no line", 1, {-50, -50, -50},
         {NONE, NONE, {SCROLL_LINE_DOWN, 1}}, -30},
        {"a turn of direction drops the rest", 1, {-100, 100, 20},
         {NONE, NONE, {SCROLL_LINE_UP, 1}}, 0},
        {"zero moves nothing and keeps the rest", 1, {-100, 0, -20},
         {NONE, NONE, {SCROLL_LINE_DOWN, 1}}, 0},
        {"the page setting: a page a notch", WHEEL_PAGE_A_NOTCH, {120, -120, -360},
         {{SCROLL_PAGE_UP, 1}, {SCROLL_PAGE_DOWN, 1}, {SCROLL_PAGE_DOWN, 3}}, 0},
        {"the page setting with half notches", WHEEL_PAGE_A_NOTCH, {-60, -60, -60},
         {NONE, {SCROLL_PAGE_DOWN, 1}, NONE}, -60},
        {"fifteen lines stay lines", 15, {-120}, {{SCROLL_LINE_DOWN, 15}}, 0},
        {"a page of lines is a page step", 16, {-120}, {{SCROLL_PAGE_DOWN, 1}}, 0},
        {"more than a page is a page", 1000, {120}, {{SCROLL_PAGE_UP, 1}}, 0},
        {"the setting 0 moves nothing and drops the rest", 0, {-120, 120}, {NONE, NONE}, 0},
        {"the largest rotation of one message", 3, {32767, -32768},
         {{SCROLL_LINE_UP, 819}, {SCROLL_LINE_DOWN, 819}}, -24},
        {"no overflow for rotations beyond a message's", 15, {INT32_MAX},
         {{SCROLL_LINE_UP, 268435455}}, 105},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.deltas.size(), c.steps.size());
        int32_t rest = 0;
        for (size_t i = 0; i < c.deltas.size(); ++i) {
            const WheelSteps got = StepsForWheel(&rest, c.deltas[i], c.linesPerNotch);
            const Step step = got.count == 0 ? NONE : Step{got.code, got.count};
            EXPECT_EQ(step, c.steps[i]) << "message " << i << ", delta " << c.deltas[i];
            EXPECT_LT(rest < 0 ? -rest : rest, WHEEL_NOTCH) << "message " << i;
        }
        EXPECT_EQ(rest, c.restAfter);
    }
}

TEST(StepsForWheel, AnyFinerSplitOfANotchMovesAsFarAsTheNotch)
{
    for (uint32_t lines : {1u, 2u, 3u, 5u, 7u, 15u, WHEEL_PAGE_A_NOTCH}) {
        for (int32_t piece : {1, 7, 8, 24, 40, 60, 119}) {
            SCOPED_TRACE(testing::Message() << "lines " << lines << ", pieces of " << piece);
            int32_t rest = 0;
            uint32_t moved = 0;
            for (int32_t turned = 0; turned < 10 * WHEEL_NOTCH; turned += piece)
                moved += StepsForWheel(&rest, -std::min(piece, 10 * WHEEL_NOTCH - turned), lines).count;
            const uint32_t perNotch = lines == WHEEL_PAGE_A_NOTCH ? 1 : lines;
            EXPECT_EQ(moved, 10 * perNotch);
            EXPECT_EQ(rest, 0);
        }
    }
}

} // namespace
