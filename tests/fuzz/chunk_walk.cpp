// The search's walk over a file model, a block of chunks at a time, as the
// search does it: FirstChunk and NextChunk, each block's read planned by
// PlanBlockRead with the overlap carried by CarryOverlap, counted by
// ChunkCount and cut into chunks by ChunkInBlock, the next block's size by
// NextBlockChunks.
//
// Input: 4 bytes, the top offset (aligned to its line); 4 bytes, the file's
// size; then 1 byte a block, at most MOST_BLOCKS of them: bit 0, messages
// were handled after the block (the next one carries nothing); bit 1, the
// block's read comes back short; bit 2, it fails; bits 3 and 4, how long
// it took: fast, neither, slow or very slow.
#include "search/chunk_walk.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

constexpr uint32_t MOST_BLOCKS = 12;

// The byte of the file model at offset: differs for offsets SEARCH_STEP or
// SEARCH_OVERLAP apart.
uint8_t FileByte(uint64_t offset)
{
    return static_cast<uint8_t>((offset * 2654435761u) >> 13);
}

// A file that reads its model: the position moves by what a read got.
struct ModelFile {
    uint32_t size;
    uint64_t filePosition = 0;

    uint32_t Read(uint32_t offset, uint8_t* dest, uint32_t count, bool shortRead)
    {
        const uint32_t got = shortRead ? count / 2 : count;
        for (uint32_t i = 0; i < got; ++i)
            dest[i] = FileByte(uint64_t{offset} + i);
        filePosition = uint64_t{offset} + got;
        return got;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static uint8_t block[SEARCH_BLOCK];
    Input input(data, size);
    const uint32_t top = input.Take(4) & ~uint32_t{15};
    ModelFile file{input.Take(4)};

    ChunkWalk walk = FirstChunk(top);
    FUZZ_CHECK(walk.more == (top < 0xFFFFFFF0));
    uint64_t expected = uint64_t{top} + 16; // the first position not yet examined
    uint32_t chunks = 1;
    uint32_t carriedFrom = 0;
    for (uint32_t n = 0; n < MOST_BLOCKS && ChunkInFile(walk, file.size); ++n) {
        const uint8_t flags = static_cast<uint8_t>(input.Take(1));
        FUZZ_CHECK(walk.position == expected);
        FUZZ_CHECK(chunks >= 1 && chunks <= MOST_BLOCK_CHUNKS);
        const uint32_t left = file.size - walk.position;
        const ChunkRead read = PlanBlockRead(walk.position, file.size, carriedFrom != 0, chunks);
        const uint32_t room = chunks * SEARCH_STEP + SEARCH_OVERLAP;
        FUZZ_CHECK(read.offset == walk.position + read.kept);
        FUZZ_CHECK(read.kept + read.count == (left < room ? left : room));
        if (read.kept != 0) {
            // Read on from where the last read stopped: no seek is made.
            FUZZ_CHECK(carriedFrom != 0 && file.filePosition == read.offset);
            CarryOverlap(block, carriedFrom);
        }
        const bool failed = (flags & 4) != 0;
        const uint32_t got = read.count == 0 || failed
                                 ? 0
                                 : file.Read(read.offset, block + read.kept, read.count, (flags & 2) != 0);
        const uint32_t held = ChunkCount(read, !failed, got);
        FUZZ_CHECK(held <= left && held <= room);
        // Each chunk of the block holds exactly the file's bytes at its
        // position; the block ends with its last chunk or a short one.
        uint32_t count = 0;
        for (uint32_t index = 0;; ++index) {
            count = ChunkInBlock(held, index);
            FUZZ_CHECK(count <= SEARCH_CHUNK && count <= file.size - walk.position);
            FUZZ_CHECK(count == (held - index * SEARCH_STEP < SEARCH_CHUNK ? held - index * SEARCH_STEP
                                                                           : SEARCH_CHUNK) ||
                       (held == 0 && count == 0));
            for (uint32_t i = 0; i < count; ++i)
                FUZZ_CHECK(block[index * SEARCH_STEP + i] == FileByte(uint64_t{walk.position} + i));
            if (count < SEARCH_CHUNK || index + 1 == chunks)
                break;
            walk = NextChunk(walk);
            expected += SEARCH_STEP;
            FUZZ_CHECK(walk.more && walk.position == expected && ChunkInFile(walk, file.size));
        }
        carriedFrom = count == SEARCH_CHUNK && (flags & 1) == 0 ? chunks : 0;
        const uint64_t elapsed[] = {0, FAST_BLOCK_MS, SLOW_BLOCK_MS, 1000};
        const uint32_t next = NextBlockChunks(chunks, !failed && got == read.count, elapsed[(flags >> 3) & 3]);
        FUZZ_CHECK(next >= 1 && next <= MOST_BLOCK_CHUNKS);
        chunks = next;

        const ChunkWalk after = NextChunk(walk);
        expected += SEARCH_STEP;
        // Past the last 32-bit offset the walk ends instead of wrapping.
        FUZZ_CHECK(after.more == (expected <= 0xFFFFFFFF));
        FUZZ_CHECK(!after.more || after.position == expected);
        walk = after;
    }
    return 0;
}
