// chunk_walk.h - how the search walks the file chunk by chunk: where the
// first chunk starts and which one comes next, up to the last offset that
// 32-bit offsets reach; and how it fills its buffer. One read fills a block
// of one or more consecutive chunks (each still compared on its own start
// positions): the whole block read at its first chunk's position, or the
// overlap that ended the block before carried to the front of the buffer
// and only the rest read on from where the last read stopped, with no seek
// and no second read of the overlap. Blocks grow while they read fast and
// shrink when they do not, so that a slow file never delays the search's
// screen work by more than about one chunk's read.
#pragma once

#include "search/compare.h"

#include <cstdint>

constexpr uint32_t SEARCH_CHUNK = 32768; // bytes compared for each chunk
// Distance from one chunk to the next and the start positions examined in
// each. The chunks overlap by PATTERN_CAPACITY, so a pattern that starts at
// the last examined position still lies within its chunk.
constexpr uint32_t SEARCH_STEP = SEARCH_CHUNK - PATTERN_CAPACITY;

// Bytes that one chunk shares with the next: the last SEARCH_OVERLAP bytes
// of a chunk are the first ones of the chunk SEARCH_STEP further on.
constexpr uint32_t SEARCH_OVERLAP = SEARCH_CHUNK - SEARCH_STEP;

// Where a search stands: the position of the chunk it searches next, when
// there is one.
struct ChunkWalk {
    uint32_t position;
    bool more; // false once the walk has passed offset 0xFFFFFFFF
    friend bool operator==(const ChunkWalk&, const ChunkWalk&) = default;
};

// The first chunk of a search from the top line at topOffset (a multiple of
// 16): the line after it, since the top line itself is never searched.
// There is none past the last line of a 4 GiB file.
ChunkWalk FirstChunk(uint32_t topOffset);

// The chunk SEARCH_STEP after the one at walk.position; none when that lies
// beyond offset 0xFFFFFFFF, which the chunk at walk.position then examines.
ChunkWalk NextChunk(const ChunkWalk& walk);

// Whether the walk has a chunk to search in a file of fileSize bytes.
bool ChunkInFile(const ChunkWalk& walk, uint32_t fileSize);

// The top line that a match makes: the line of the byte found positions
// after the chunk's position.
uint32_t MatchLine(uint32_t position, uint32_t found);

// The most chunks one read fills, and the buffer that holds them: each
// chunk begins SEARCH_STEP after the one before, and the last one ends
// SEARCH_OVERLAP after the next one's start.
constexpr uint32_t MOST_BLOCK_CHUNKS = 8;
constexpr uint32_t SEARCH_BLOCK = MOST_BLOCK_CHUNKS * SEARCH_STEP + SEARCH_OVERLAP;

// A block that reads in less than this many milliseconds of the search's
// clock lets the next one hold twice the chunks; one that takes
// SLOW_BLOCK_MS or more halves the next one.
constexpr uint64_t FAST_BLOCK_MS = 2;
constexpr uint64_t SLOW_BLOCK_MS = 4;

// The read that fills the buffer for one block.
struct ChunkRead {
    // Bytes at the front of the buffer that already hold the block's first
    // bytes, carried there from the block before. 0: the whole block is
    // read at its position, after a seek; otherwise the file position
    // already stands at offset and the read goes on from there.
    uint32_t kept;
    uint32_t offset; // file offset of the first byte to read: position + kept
    // Bytes to ask for, into the buffer after the kept ones: up to the end
    // of the block's last chunk, never at or beyond fileSize. 0: nothing is
    // left to read.
    uint32_t count;
    friend bool operator==(const ChunkRead&, const ChunkRead&) = default;
};

// The read for a block of chunks chunks (1 to MOST_BLOCK_CHUNKS) whose
// first chunk is at position, in a file of fileSize bytes. carry: the block
// before ended with a whole chunk SEARCH_STEP before position, and nothing
// has read the file or used the buffer since, so that the buffer ends with
// this block's first bytes and the file position stands right after them.
// Never keeps more than the file holds from position on.
ChunkRead PlanBlockRead(uint32_t position, uint32_t fileSize, bool carry, uint32_t chunks);

// The bytes of the file that the buffer holds after read, from the block's
// position on: the kept bytes and the bytes read (got, at most what was
// asked for). A failed read counts as nothing read at all, kept bytes
// included, just as when the read of a whole chunk fails.
uint32_t ChunkCount(const ChunkRead& read, bool succeeded, uint32_t got);

// The bytes that chunk index of a block (0 first) holds, when the buffer
// holds held bytes from the block's position on: at most SEARCH_CHUNK, and
// 0 for a chunk that begins at or beyond them. A chunk holding fewer than
// SEARCH_CHUNK ends its block: the chunks after it are read again.
uint32_t ChunkInBlock(uint32_t held, uint32_t index);

// Moves the overlap at the end of a block's chunks chunks, whose last one
// is whole, to the front of the buffer, where the next block begins.
void CarryOverlap(uint8_t* block, uint32_t chunks);

// The chunks of the next block after a block of chunks chunks that took
// elapsedMs of the search's clock to read and compare: twice as many (up to
// MOST_BLOCK_CHUNKS) when it was fast, half as many (at least 1) when it
// was slow. A read that failed or came back short (whole false) makes the
// next block a single chunk, as every block was before any was fast.
uint32_t NextBlockChunks(uint32_t chunks, bool whole, uint64_t elapsedMs);
