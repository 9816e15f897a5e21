// Which bytes of the window a save writes: the marks of edited bytes and
// their runs in offset order.
#include "document/window_math.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <vector>

// How a failing test shows a run.
void PrintTo(const ByteRun& run, std::ostream* out)
{
    *out << std::hex << "[" << run.start << ", " << run.end << ")";
}

namespace {

// All runs NextEditedRun gives below limit, walked as a save walks them.
std::vector<ByteRun> Runs(const EditedBytes& edited, uint32_t limit)
{
    std::vector<ByteRun> runs;
    for (uint32_t from = 0;;) {
        const ByteRun run = NextEditedRun(edited, from, limit);
        if (run.start == run.end)
            return runs;
        runs.push_back(run);
        from = run.end;
    }
}

TEST(EditedBytes, RunsAreTheMarkedBytesInOffsetOrderClippedToTheLimit)
{
    struct Mark {
        uint32_t index;
        uint32_t count;
    };
    struct Case {
        const char* name;
        std::vector<Mark> marks;
        uint32_t limit;
        std::vector<ByteRun> runs;
    };
    const Case cases[] = {
        {"nothing marked", {}, WINDOW_SIZE, {}},
        {"two bytes apart are two runs, nothing between", {{0x0F, 1}, {0x00, 1}}, WINDOW_SIZE,
         {{0x00, 0x01}, {0x0F, 0x10}}},
        {"neighbours join", {{4, 2}, {6, 3}, {2, 2}}, WINDOW_SIZE, {{2, 9}}},
        {"a mark inside another", {{10, 8}, {12, 2}}, WINDOW_SIZE, {{10, 18}}},
        {"across a byte of the map", {{6, 4}}, WINDOW_SIZE, {{6, 10}}},
        {"the window's last byte", {{WINDOW_SIZE - 1, 1}}, WINDOW_SIZE, {{WINDOW_SIZE - 1, WINDOW_SIZE}}},
        {"a count past the window's end stops there", {{WINDOW_SIZE - 2, 0xFFFFFFFF}}, WINDOW_SIZE,
         {{WINDOW_SIZE - 2, WINDOW_SIZE}}},
        {"an index past the window marks nothing", {{WINDOW_SIZE, 5}, {0xFFFFFFFF, 2}}, WINDOW_SIZE, {}},
        {"zero bytes mark nothing", {{7, 0}}, WINDOW_SIZE, {}},
        {"a run cut at the limit", {{3, 10}}, 8, {{3, 8}}},
        {"a run at the limit is not written", {{8, 2}, {1, 1}}, 8, {{1, 2}}},
        {"a limit of nothing", {{0, 4}}, 0, {}},
        {"a limit beyond the window counts as its end", {{WINDOW_SIZE - 1, 1}}, 0xFFFFFFFF,
         {{WINDOW_SIZE - 1, WINDOW_SIZE}}},
        {"the whole window", {{0, WINDOW_SIZE}}, WINDOW_SIZE, {{0, WINDOW_SIZE}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditedBytes edited{};
        for (const Mark& m : c.marks)
            MarkEdited(edited, m.index, m.count);
        EXPECT_EQ(Runs(edited, c.limit), c.runs);
    }
}

TEST(EditedBytes, ClearingForgetsOnlyTheBytesCleared)
{
    EditedBytes edited{};
    MarkEdited(edited, 0, 20);
    ClearEdited(edited, 5, 8);
    EXPECT_EQ(Runs(edited, WINDOW_SIZE), (std::vector<ByteRun>{{0, 5}, {8, 20}}));
    ClearEdited(edited, 15, 0xFFFFFFFF); // to the window's end
    EXPECT_EQ(Runs(edited, WINDOW_SIZE), (std::vector<ByteRun>{{0, 5}, {8, 15}}));
    ClearEdited(edited, 0, WINDOW_SIZE);
    EXPECT_EQ(Runs(edited, WINDOW_SIZE), std::vector<ByteRun>{});
}

// Random marks and clears against a byte-per-byte model: the runs are
// exactly the model's marked bytes below the limit, each run maximal.
TEST(EditedBytes, RunsMatchAModelOfEveryByte)
{
    std::mt19937 random(20261210);
    for (int round = 0; round < 200; ++round) {
        EditedBytes edited{};
        std::vector<bool> model(WINDOW_SIZE, false);
        const int operations = 1 + static_cast<int>(random() % 12);
        for (int k = 0; k < operations; ++k) {
            const uint32_t index = random() % (WINDOW_SIZE + 64);
            const uint32_t count = random() % 4 == 0 ? random() % 3000 : random() % 40;
            const bool clear = random() % 4 == 0;
            if (clear)
                ClearEdited(edited, index, index + count);
            else
                MarkEdited(edited, index, count);
            for (uint32_t i = index; i < WINDOW_SIZE && i - index < count; ++i)
                model[i] = !clear;
        }
        const uint32_t limit = random() % 2 ? WINDOW_SIZE : random() % (WINDOW_SIZE + 1);
        std::vector<ByteRun> expected;
        for (uint32_t i = 0; i < limit; ++i) {
            if (!model[i])
                continue;
            uint32_t end = i;
            while (end < limit && model[end])
                ++end;
            expected.push_back({i, end});
            i = end;
        }
        ASSERT_EQ(Runs(edited, limit), expected) << "round " << round << ", limit " << limit;
    }
}

} // namespace
