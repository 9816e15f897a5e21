// The chunks a search walks, up to the last 32-bit offset, and the reads
// that fill its buffer a block of chunks at a time: the whole block after a
// seek, or the overlap carried from the block before and the rest read on.
#include "search/chunk_walk.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

// How a failing test shows a read and a place in the walk.
void PrintTo(const ChunkRead& r, std::ostream* out)
{
    *out << std::hex << "kept " << r.kept << ", read " << r.count << " at " << r.offset;
}

void PrintTo(const ChunkWalk& w, std::ostream* out)
{
    *out << std::hex << (w.more ? "chunk at " : "no chunk, position ") << w.position;
}

namespace {

constexpr uint32_t LAST_OFFSET = 0xFFFFFFFF;

TEST(ChunkWalkTest, FirstChunkIsTheLineAfterTheTopLine)
{
    struct Case {
        uint32_t topOffset;
        ChunkWalk first;
    };
    const Case cases[] = {
        {0, {0x10, true}},
        {0x7FFFFFF0, {0x80000000, true}},
        {0xFFFFFFD0, {0xFFFFFFE0, true}},
        {0xFFFFFFE0, {0xFFFFFFF0, true}}, // the last line, whose last byte is out of reach
        {0xFFFFFFF0, {0, false}},         // no line after the last one
    };
    for (const Case& c : cases)
        EXPECT_EQ(FirstChunk(c.topOffset), c.first) << std::hex << "top " << c.topOffset;
}

TEST(ChunkWalkTest, NextChunkEndsOnceTheLastOffsetWasExamined)
{
    constexpr uint32_t LAST_START = LAST_OFFSET - SEARCH_STEP; // its chunk stops short of the last offset
    struct Case {
        ChunkWalk walk;
        ChunkWalk next;
    };
    const Case cases[] = {
        {{0x10, true}, {0x10 + SEARCH_STEP, true}},
        {{0x7FFFFFF0, true}, {0x7FFFFFF0 + SEARCH_STEP, true}},
        {{LAST_START - 1, true}, {LAST_OFFSET - 1, true}},
        {{LAST_START, true}, {LAST_OFFSET, true}},
        {{LAST_START + 1, true}, {0, false}}, // examines up to the last offset
        {{LAST_OFFSET, true}, {SEARCH_STEP - 1, false}},
        {{0x10, false}, {0x10 + SEARCH_STEP, false}}, // an ended walk stays ended
    };
    for (const Case& c : cases)
        EXPECT_EQ(NextChunk(c.walk), c.next) << testing::PrintToString(c.walk);
}

TEST(ChunkWalkTest, ChunkInFileOnlyWhileTheWalkGoesOnBelowTheSize)
{
    struct Case {
        ChunkWalk walk;
        uint32_t fileSize;
        bool inFile;
    };
    const Case cases[] = {
        {{0x10, true}, 0x11, true},
        {{0x10, true}, 0x10, false},
        {{0x10, true}, 0, false},
        {{LAST_OFFSET - 1, true}, LAST_OFFSET, true},
        {{LAST_OFFSET, true}, LAST_OFFSET, false},
        {{0x10, false}, LAST_OFFSET, false}, // wrapped past 2^32: nothing more
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChunkInFile(c.walk, c.fileSize), c.inFile)
            << testing::PrintToString(c.walk) << std::hex << ", size " << c.fileSize;
    }
}

// From every top line, the walk's chunks follow each other without a gap
// or an overlap of examined positions, end with the one that examines the
// last offset below the file's size, and never wrap to the file's start.
TEST(ChunkWalkTest, WalkExaminesEveryPositionAfterTheTopLineOnce)
{
    struct Case {
        uint32_t topOffset, fileSize;
    };
    const Case cases[] = {
        {0, 0},
        {0, 0x11},
        {0, 3 * SEARCH_STEP + 0x20},
        {0xFFFFFFE0, LAST_OFFSET},
        {0xFFFFFFF0, LAST_OFFSET},
        {LAST_OFFSET - 5 * SEARCH_STEP, LAST_OFFSET}, // the top a multiple of 16
        {0xFFFF0000, LAST_OFFSET},
        {0xFFFF0000, 0xFFFF8010},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << "top " << c.topOffset << ", size " << c.fileSize);
        const uint32_t top = c.topOffset & ~uint32_t{15};
        uint64_t expected = uint64_t{top} + 16; // the next position to be examined
        uint32_t chunks = 0;
        for (ChunkWalk walk = FirstChunk(top); ChunkInFile(walk, c.fileSize); walk = NextChunk(walk)) {
            ASSERT_EQ(walk.position, expected) << "chunk " << chunks;
            expected += SEARCH_STEP;
            ASSERT_LT(++chunks, 0x30000u) << "the walk does not end";
        }
        // Examined up to the file's last byte, and not a whole chunk more.
        const uint64_t end = c.fileSize;
        EXPECT_GE(expected, end);
        EXPECT_LT(expected, end + SEARCH_STEP + 16);
        EXPECT_EQ(chunks == 0, uint64_t{top} + 16 >= end);
    }
}

TEST(ChunkWalkTest, MatchLineIsTheLineOfTheMatchedByte)
{
    struct Case {
        uint32_t position, found, line;
    };
    const Case cases[] = {
        {0x10, 0, 0x10},
        {0x10, 0xF, 0x10},
        {0x10, 0x10, 0x20},
        {0x10, SEARCH_STEP - 1, (0x10 + SEARCH_STEP - 1) & ~uint32_t{15}},
        {0xFFFFFFF0, 0xE, 0xFFFFFFF0},
        {LAST_OFFSET - SEARCH_STEP + 1, SEARCH_STEP - 2, 0xFFFFFFF0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchLine(c.position, c.found), c.line) << std::hex << c.position << " + " << c.found;
}

TEST(ChunkWalkTest, ReadForTheNextBlock)
{
    constexpr uint32_t TOP = 0xFFFFFFFF;
    constexpr uint32_t EIGHT = 8 * SEARCH_STEP + SEARCH_OVERLAP; // what a block of 8 chunks holds
    struct Case {
        const char* name;
        uint32_t position, fileSize;
        bool carry;
        uint32_t chunks;
        ChunkRead read;
    };
    const Case cases[] = {
        {"whole chunk, nothing carried", 0x10, 0x100000, false, 1, {0, 0x10, SEARCH_CHUNK}},
        {"carried overlap, the rest read on", 0xE010, 0x100000, true, 1, {0x1000, 0xF010, SEARCH_STEP}},
        {"nothing carried, the file ends within the chunk", 0x7010, 0x7110, false, 1, {0, 0x7010, 0x100}},
        {"carried, the file ends within the rest", 0xE010, 0xF015, true, 1, {0x1000, 0xF010, 5}},
        {"carried, the file ends with the overlap", 0xE010, 0xF010, true, 1, {0x1000, 0xF010, 0}},
        {"carried, one byte after the overlap", 0xE010, 0xF011, true, 1, {0x1000, 0xF010, 1}},
        {"never keeps more than the file holds", 0xE010, 0xE020, true, 1, {0x10, 0xE020, 0}},
        {"nothing at or beyond the end", 0xE010, 0xE010, true, 1, {0, 0xE010, 0}},
        {"carried at the top of the offsets", TOP - 0x2000, TOP, true, 1, {0x1000, TOP - 0x1000, 0x1000}},
        {"whole at the top of the offsets", TOP - 0x10, TOP, false, 1, {0, TOP - 0x10, 0x10}},
        {"two chunks, nothing carried", 0x10, 0x100000, false, 2, {0, 0x10, 2 * SEARCH_STEP + SEARCH_OVERLAP}},
        {"eight chunks, nothing carried", 0x10, 0x100000, false, 8, {0, 0x10, EIGHT}},
        {"eight chunks, carried", 0xE010, 0x100000, true, 8, {0x1000, 0xF010, EIGHT - 0x1000}},
        {"eight chunks, the file ends in the third", 0x10, 0x10 + 2 * SEARCH_STEP + 5, true, 8,
         {0x1000, 0x1010, 2 * SEARCH_STEP + 5 - 0x1000}},
        {"eight chunks at the top of the offsets", TOP - 0x20000, TOP, false, 8, {0, TOP - 0x20000, 0x20000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PlanBlockRead(c.position, c.fileSize, c.carry, c.chunks), c.read)
            << std::hex << "position " << c.position << ", size " << c.fileSize << (c.carry ? ", carry" : "")
            << std::dec << ", " << c.chunks << " chunks";
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

// A block's chunks: each SEARCH_STEP after the one before, whole while the
// buffer holds it whole, the one the buffer ends in short, none after it.
TEST(ChunkWalkTest, ChunksOfABlockAreWholeUpToTheOneTheBufferEndsIn)
{
    struct Case {
        uint32_t held, index, count;
    };
    const Case cases[] = {
        {0, 0, 0},                                             // a failed read
        {0x100, 0, 0x100},                                     // a short one
        {SEARCH_CHUNK, 0, SEARCH_CHUNK},                       // a whole chunk
        {SEARCH_CHUNK, 1, SEARCH_OVERLAP},                     // then the overlap alone
        {SEARCH_STEP, 1, 0},                                   // nothing of the second
        {SEARCH_STEP + 1, 1, 1},                               // its first byte
        {SEARCH_STEP + SEARCH_CHUNK - 1, 1, SEARCH_CHUNK - 1}, // one byte short
        {SEARCH_BLOCK, 7, SEARCH_CHUNK},                       // the last of a full block
        {SEARCH_BLOCK, 8, SEARCH_OVERLAP},                     // what the next block carries
        {0xFFFFFFFF, 0xFFFFFFFF, 0},                           // far beyond, without wrapping
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChunkInBlock(c.held, c.index), c.count) << std::hex << "held " << c.held << ", chunk " << c.index;
}

TEST(ChunkWalkTest, CarryMovesTheOverlapAfterTheBlocksLastChunkToTheFrontAndLeavesTheRest)
{
    for (const uint32_t chunks : {1u, 3u, MOST_BLOCK_CHUNKS}) {
        SCOPED_TRACE(testing::Message() << chunks << " chunks");
        std::vector<uint8_t> block(SEARCH_BLOCK);
        for (uint32_t i = 0; i < SEARCH_BLOCK; ++i)
            block[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
        const std::vector<uint8_t> before = block;
        CarryOverlap(block.data(), chunks);
        for (uint32_t i = 0; i < SEARCH_BLOCK; ++i) {
            const uint8_t expected = i < SEARCH_OVERLAP ? before[chunks * SEARCH_STEP + i] : before[i];
            ASSERT_EQ(block[i], expected) << "at " << std::hex << i;
        }
    }
}

TEST(ChunkWalkTest, BlocksGrowWhileFastShrinkWhenSlowAndRestartAfterAShortRead)
{
    struct Case {
        uint32_t chunks;
        bool whole;
        uint64_t elapsedMs;
        uint32_t next;
    };
    const Case cases[] = {
        {1, true, 0, 2},
        {4, true, FAST_BLOCK_MS - 1, 8},
        {MOST_BLOCK_CHUNKS, true, 0, MOST_BLOCK_CHUNKS}, // no further
        {4, true, FAST_BLOCK_MS, 4},                     // neither fast nor slow
        {4, true, SLOW_BLOCK_MS - 1, 4},
        {4, true, SLOW_BLOCK_MS, 2},
        {1, true, 1000, 1}, // at least one
        {8, false, 0, 1},   // short or failed, however fast
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextBlockChunks(c.chunks, c.whole, c.elapsedMs), c.next)
            << c.chunks << " chunks, " << (c.whole ? "whole" : "short") << ", " << c.elapsedMs << " ms";
    }
}

} // namespace
