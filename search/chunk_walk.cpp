// chunk_walk.cpp - the reads that fill the search's chunk buffer.
#include "search/chunk_walk.h"

#include <cstring>

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
