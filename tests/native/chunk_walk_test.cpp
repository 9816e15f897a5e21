// The reads that fill the search's chunk buffer: the whole chunk after a
// seek, or the overlap carried from the chunk before and the rest read on.
#include "search/chunk_walk.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

// How a failing test shows a read.
void PrintTo(const ChunkRead& r, std::ostream* out)
{
    *out << std::hex << "kept " << r.kept << ", read " << r.count << " at " << r.offset;
}

namespace {

TEST(ChunkWalkTest, ReadForTheNextChunk)
{
    constexpr uint32_t TOP = 0xFFFFFFFF;
    struct Case {
        const char* name;
        uint32_t position, fileSize;
        bool carry;
        ChunkRead read;
    };
    const Case cases[] = {
        {"whole chunk, nothing carried", 0x10, 0x100000, false, {0, 0x10, SEARCH_CHUNK}},
        {"carried overlap, the rest read on", 0xE010, 0x100000, true, {0x1000, 0xF010, SEARCH_STEP}},
        {"nothing carried, the file ends within the chunk", 0x7010, 0x7110, false, {0, 0x7010, 0x100}},
        {"carried, the file ends within the rest", 0xE010, 0xF015, true, {0x1000, 0xF010, 5}},
        {"carried, the file ends with the overlap", 0xE010, 0xF010, true, {0x1000, 0xF010, 0}},
        {"carried, one byte after the overlap", 0xE010, 0xF011, true, {0x1000, 0xF010, 1}},
        {"never keeps more than the file holds", 0xE010, 0xE020, true, {0x10, 0xE020, 0}},
        {"nothing at or beyond the end", 0xE010, 0xE010, true, {0, 0xE010, 0}},
        {"carried at the top of the offsets", TOP - 0x2000, TOP, true, {0x1000, TOP - 0x1000, 0x1000}},
        {"whole at the top of the offsets", TOP - 0x10, TOP, false, {0, TOP - 0x10, 0x10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PlanChunkRead(c.position, c.fileSize, c.carry), c.read)
            << std::hex << "position " << c.position << ", size " << c.fileSize << (c.carry ? ", carry" : "");
    }
}

TEST(ChunkWalkTest, BytesTheChunkHoldsAfterItsRead)
{
    struct Case {
        const char* name;
        ChunkRead read;
        bool succeeded;
        uint32_t got, count;
    };
    const Case cases[] = {
        {"whole chunk read", {0, 0x10, SEARCH_CHUNK}, true, SEARCH_CHUNK, SEARCH_CHUNK},
        {"whole chunk, short read", {0, 0x10, SEARCH_CHUNK}, true, 0x100, 0x100},
        {"whole chunk, failed read", {0, 0x10, SEARCH_CHUNK}, false, 0, 0},
        {"carried, the rest read", {0x1000, 0xF010, SEARCH_STEP}, true, SEARCH_STEP, SEARCH_CHUNK},
        {"carried, short read", {0x1000, 0xF010, SEARCH_STEP}, true, 0x100, 0x1100},
        {"carried, a read of nothing", {0x1000, 0xF010, SEARCH_STEP}, true, 0, 0x1000},
        {"carried, failed read: the kept bytes count for nothing", {0x1000, 0xF010, SEARCH_STEP}, false, 0, 0},
        {"carried, nothing left to read", {0x1000, 0xF010, 0}, true, 0, 0x1000},
        {"more than asked for counts as asked", {0x1000, 0xF010, 5}, true, 9, 0x1005},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ChunkCount(c.read, c.succeeded, c.got), c.count)
            << testing::PrintToString(c.read) << ", got " << c.got;
    }
}

TEST(ChunkWalkTest, CarryMovesTheLastOverlapToTheFrontAndLeavesTheRest)
{
    std::vector<uint8_t> chunk(SEARCH_CHUNK);
    for (uint32_t i = 0; i < SEARCH_CHUNK; ++i)
        chunk[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
    const std::vector<uint8_t> before = chunk;
    CarryOverlap(chunk.data());
    for (uint32_t i = 0; i < SEARCH_CHUNK; ++i) {
        const uint8_t expected = i < SEARCH_OVERLAP ? before[SEARCH_STEP + i] : before[i];
        ASSERT_EQ(chunk[i], expected) << "at " << std::hex << i;
    }
}

} // namespace
