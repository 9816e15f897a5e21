// The search's walk over a file model, chunk by chunk, as the search does
// it: FirstChunk and NextChunk, each chunk's read planned by PlanChunkRead
// with the overlap carried by CarryOverlap, and counted by ChunkCount.
//
// Input: 4 bytes, the top offset (aligned to its line); 4 bytes, the file's
// size; then 1 byte a chunk, at most MOST_CHUNKS of them: bit 0, messages
// were handled after the chunk (the next one carries nothing); bit 1, the
// chunk's read comes back short; bit 2, it fails.
#include "search/chunk_walk.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

constexpr uint32_t MOST_CHUNKS = 12;

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
    static uint8_t chunk[SEARCH_CHUNK];
    Input input(data, size);
    const uint32_t top = input.Take(4) & ~uint32_t{15};
    ModelFile file{input.Take(4)};

    ChunkWalk walk = FirstChunk(top);
    FUZZ_CHECK(walk.more == (top < 0xFFFFFFF0));
    uint64_t expected = uint64_t{top} + 16; // the first position not yet examined
    bool carry = false;
    for (uint32_t n = 0; n < MOST_CHUNKS && ChunkInFile(walk, file.size); ++n) {
        const uint8_t flags = static_cast<uint8_t>(input.Take(1));
        FUZZ_CHECK(walk.position == expected);
        const uint32_t left = file.size - walk.position;
        const ChunkRead read = PlanChunkRead(walk.position, file.size, carry);
        FUZZ_CHECK(read.offset == walk.position + read.kept);
        FUZZ_CHECK(read.kept + read.count == (left < SEARCH_CHUNK ? left : SEARCH_CHUNK));
        if (read.kept != 0) {
            // Read on from where the last read stopped: no seek is made.
            FUZZ_CHECK(carry && file.filePosition == read.offset);
            CarryOverlap(chunk);
        }
        const bool failed = (flags & 4) != 0;
        const uint32_t got = read.count == 0 || failed
                                 ? 0
                                 : file.Read(read.offset, chunk + read.kept, read.count, (flags & 2) != 0);
        const uint32_t count = ChunkCount(read, !failed, got);
        FUZZ_CHECK(count <= left && count <= SEARCH_CHUNK);
        // The buffer holds exactly the file's bytes at the chunk's position.
        for (uint32_t i = 0; i < count; ++i)
            FUZZ_CHECK(chunk[i] == FileByte(uint64_t{walk.position} + i));
        carry = count == SEARCH_CHUNK && (flags & 1) == 0;

        const ChunkWalk next = NextChunk(walk);
        expected += SEARCH_STEP;
        // Past the last 32-bit offset the walk ends instead of wrapping.
        FUZZ_CHECK(next.more == (expected <= 0xFFFFFFFF));
        FUZZ_CHECK(!next.more || next.position == expected);
        walk = next;
    }
    return 0;
}
