// chunk_walk.cpp - the chunks a search walks and the reads that fill its
// chunk buffer.
#include "search/chunk_walk.h"

#include <cstring>

ChunkWalk FirstChunk(uint32_t topOffset)
{
    return {(topOffset + 16) & ~uint32_t{15}, topOffset < 0xFFFFFFF0};
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
    return (position + found) & ~uint32_t{15};
}

ChunkRead PlanChunkRead(uint32_t position, uint32_t fileSize, bool carry)
{
    const uint32_t left = position < fileSize ? fileSize - position : 0;
    const uint32_t kept = carry ? (left < SEARCH_OVERLAP ? left : SEARCH_OVERLAP) : 0;
    const uint32_t wanted = SEARCH_CHUNK - kept;
    return {kept, position + kept, left - kept < wanted ? left - kept : wanted};
}

uint32_t ChunkCount(const ChunkRead& read, bool succeeded, uint32_t got)
{
    if (!succeeded)
        return 0;
    return read.kept + (got < read.count ? got : read.count);
}

void CarryOverlap(uint8_t* chunk)
{
    std::memcpy(chunk, chunk + SEARCH_STEP, SEARCH_OVERLAP);
}
