// chunk_walk.cpp - the chunks a search walks and the reads that fill its
// buffer, a block of chunks at a time.
#include "search/chunk_walk.h"

#include "dump/dump_text.h"

#include <cstring>

ChunkWalk FirstChunk(uint32_t topOffset)
{
    return {(topOffset + LINE_BYTES) & ~(LINE_BYTES - 1),
            topOffset < 0xFFFFFFFF - (LINE_BYTES - 1)};
}

ChunkWalk NextChunk(const ChunkWalk& walk)
{
    return {walk.position + SEARCH_STEP, walk.more && walk.position <= 0xFFFFFFFF - SEARCH_STEP};
}

bool ChunkInFile(const ChunkWalk& walk, uint32_t fileSize)
{
    return walk.more && walk.position < fileSize;
}

uint32_t MatchLine(uint32_t position, uint32_t found)
{
    return (position + found) & ~(LINE_BYTES - 1);
}

ChunkRead PlanBlockRead(uint32_t position, uint32_t fileSize, bool carry, uint32_t chunks)
{
    const uint32_t left = position < fileSize ? fileSize - position : 0;
    const uint32_t kept = carry ? (left < SEARCH_OVERLAP ? left : SEARCH_OVERLAP) : 0;
    const uint32_t wanted = chunks * SEARCH_STEP + SEARCH_OVERLAP - kept;
    return {kept, position + kept, left - kept < wanted ? left - kept : wanted};
}

uint32_t ChunkCount(const ChunkRead& read, bool succeeded, uint32_t got)
{
    if (!succeeded)
        return 0;
    return read.kept + (got < read.count ? got : read.count);
}

uint32_t ChunkInBlock(uint32_t held, uint32_t index)
{
    const uint64_t start = uint64_t{index} * SEARCH_STEP;
    if (held <= start)
        return 0;
    const uint64_t rest = held - start;
    return rest < SEARCH_CHUNK ? static_cast<uint32_t>(rest) : SEARCH_CHUNK;
}

void CarryOverlap(uint8_t* block, uint32_t chunks)
{
    std::memcpy(block, block + chunks * SEARCH_STEP, SEARCH_OVERLAP);
}

uint32_t NextBlockChunks(uint32_t chunks, bool whole, uint64_t elapsedMs)
{
    if (!whole)
        return 1;
    if (elapsedMs < FAST_BLOCK_MS)
        return chunks * 2 < MOST_BLOCK_CHUNKS ? chunks * 2 : MOST_BLOCK_CHUNKS;
    if (elapsedMs >= SLOW_BLOCK_MS)
        return chunks > 1 ? chunks / 2 : 1;
    return chunks;
}
