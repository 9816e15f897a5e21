// The pacing of a running search's screen work.
#include "search/screen_pace.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(ScreenPaceTest, DueFirstThenOnceTheIntervalHasPassedSinceTheLastWork)
{
    constexpr uint64_t MAX = UINT64_MAX;
    struct Case {
        const char* name;
        ScreenPace pace;
        uint64_t now;
        bool due;
    };
    const Case cases[] = {
        {"first chunk, clock at 0", {0, false}, 0, true},
        {"first chunk, any reading", {5000, false}, 5000, true},
        {"same reading as the last work", {1000, true}, 1000, false},
        {"one millisecond short", {1000, true}, 1000 + SCREEN_INTERVAL_MS - 1, false},
        {"exactly the interval", {1000, true}, 1000 + SCREEN_INTERVAL_MS, true},
        {"long after", {1000, true}, 1000000, true},
        {"clock went back", {1000, true}, 999, true},
        {"short, at the top of the range", {MAX - SCREEN_INTERVAL_MS, true}, MAX - 1, false},
        {"the interval, at the top of the range", {MAX - SCREEN_INTERVAL_MS, true}, MAX, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ScreenWorkDue(c.pace, c.now), c.due)
            << "last work " << c.pace.lastWork << (c.pace.worked ? "" : " (never)") << ", now " << c.now;
    }
}

} // namespace
