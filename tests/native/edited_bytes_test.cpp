// Which bytes of the window a save writes: the marks of edited bytes, their
// runs in offset order, what a save forgets of a run it wrote, and how far
// a transfer may go before the end of the file.
#include "document/edited_bytes.h"

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

// A save forgets as much of a run as it wrote: a short write keeps the rest
// of the run, and of the bytes after it, for the next save.
TEST(EditedBytes, WrittenBytesOfARunAreForgottenTheRestKept)
{
    struct Case {
        const char* name;
        ByteRun run;
        uint32_t written;
        std::vector<ByteRun> left;
    };
    // Marked before each case: 2..10, 12..20, and the window's last 4 bytes.
    const Case cases[] = {
        {"all written", {2, 10}, 8, {{12, 20}, {WINDOW_SIZE - 4, WINDOW_SIZE}}},
        {"nothing written", {2, 10}, 0, {{2, 10}, {12, 20}, {WINDOW_SIZE - 4, WINDOW_SIZE}}},
        {"a short write", {2, 10}, 3, {{5, 10}, {12, 20}, {WINDOW_SIZE - 4, WINDOW_SIZE}}},
        {"one byte short", {2, 10}, 7, {{9, 10}, {12, 20}, {WINDOW_SIZE - 4, WINDOW_SIZE}}},
        {"more than the run counts as the run", {2, 10}, 11, {{12, 20}, {WINDOW_SIZE - 4, WINDOW_SIZE}}},
        {"the most a write can report", {12, 20}, 0xFFFFFFFF, {{2, 10}, {WINDOW_SIZE - 4, WINDOW_SIZE}}},
        {"a run clipped short of its marks", {12, 15}, 3, {{2, 10}, {15, 20}, {WINDOW_SIZE - 4, WINDOW_SIZE}}},
        {"the window's last bytes", {WINDOW_SIZE - 4, WINDOW_SIZE}, 4, {{2, 10}, {12, 20}}},
        {"the last bytes, short", {WINDOW_SIZE - 4, WINDOW_SIZE}, 1, {{2, 10}, {12, 20}, {WINDOW_SIZE - 3, WINDOW_SIZE}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditedBytes edited{};
        MarkEdited(edited, 2, 8);
        MarkEdited(edited, 12, 8);
        MarkEdited(edited, WINDOW_SIZE - 4, 4);
        ClearWritten(edited, c.run, c.written);
        EXPECT_EQ(Runs(edited, WINDOW_SIZE), c.left);
    }
}

// A transfer is cut at the end of the file, also where offsets reach 2^32
// and where the end, a present size, lies beyond them.
TEST(ClipToEnd, TransfersStopAtTheEnd)
{
    constexpr uint32_t TOP = 0xFFFFFFFF;
    struct Case {
        int64_t end;
        uint32_t offset, count;
        bool clipped;
        uint32_t left; // count afterwards
    };
    const Case cases[] = {
        {0x1000, 0, 0x100, true, 0x100},
        {0x1000, 0xF00, 0x100, true, 0x100},
        {0x1000, 0xF01, 0x100, true, 0xFF},
        {0x1000, 0xFFF, 0x100, true, 1},
        {0x1000, 0x1000, 0x100, false, 0x100},
        {0x1000, 0x1001, 0x100, false, 0x100},
        {0x1000, 0x10, 0, true, 0},
        {0, 0, 0x100, false, 0x100},
        {TOP, TOP - 1, 0x8000, true, 1},
        {TOP, TOP, 0x8000, false, 0x8000},
        {TOP, 0, TOP, true, TOP},
        {int64_t{1} << 32, TOP, 0x8000, true, 1},    // a present size of 4 GiB
        {int64_t{1} << 40, TOP, 0x8000, true, 0x8000}, // far beyond 2^32
        {int64_t{1} << 40, 0, TOP, true, TOP},
        {-1, 0, 0x100, false, 0x100}, // a size no file has
    };
    for (const Case& c : cases) {
        uint32_t count = c.count;
        EXPECT_EQ(ClipToEnd(c.end, c.offset, count), c.clipped)
            << std::hex << "end " << c.end << ", offset " << c.offset << ", count " << c.count;
        EXPECT_EQ(count, c.left) << std::hex << "end " << c.end << ", offset " << c.offset;
    }
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
