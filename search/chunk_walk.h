// chunk_walk.h - how the search walks the file chunk by chunk: where the
// first chunk starts and which one comes next, up to the last offset that
// 32-bit offsets reach; and how it fills its chunk buffer for the next
// chunk: the whole chunk read at its position, or the overlap that ends the
// chunk before carried to the front of the buffer and only the rest read on
// from where the last read stopped, with no seek and no second read of the
// overlap.
#pragma once

#include "search/compare.h"

#include <cstdint>

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

// The read that fills the buffer for one chunk.
struct ChunkRead {
    // Bytes at the front of the buffer that already hold the chunk's first
    // bytes, carried there from the chunk before. 0: the whole chunk is read
    // at its position, after a seek; otherwise the file position already
    // stands at offset and the read goes on from there.
    uint32_t kept;
    uint32_t offset; // file offset of the first byte to read: position + kept
    // Bytes to ask for, into the buffer after the kept ones: up to the end
    // of the chunk, never at or beyond fileSize. 0: nothing is left to read.
    uint32_t count;
    friend bool operator==(const ChunkRead&, const ChunkRead&) = default;
};

// The read for the chunk at position in a file of fileSize bytes. carry:
// the chunk before (SEARCH_STEP earlier) filled the whole buffer, and
// nothing has read the file or used the buffer since, so that the buffer
// ends with this chunk's first bytes and the file position stands right
// after them. Never keeps more than the file holds from position on.
ChunkRead PlanChunkRead(uint32_t position, uint32_t fileSize, bool carry);

// The bytes of the file that the buffer holds for the chunk after read:
// the kept bytes and the bytes read (got, at most what was asked for).
// A failed read counts as nothing read at all, kept bytes included, just as
// when the read of a whole chunk fails.
uint32_t ChunkCount(const ChunkRead& read, bool succeeded, uint32_t got);

// Moves the overlap at the end of a whole chunk (SEARCH_CHUNK bytes) to the
// front of the buffer, where the next chunk begins.
void CarryOverlap(uint8_t* chunk);
