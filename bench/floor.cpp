// floor FILE HEX - the native floor under the program's find-next: what its
// search costs with no window, no Wine and no progress text. Walks FILE from
// the top line (offset 0) as the search does (search/chunk_walk.h: a chunk of
// SEARCH_CHUNK bytes every SEARCH_STEP bytes, the overlap carried to the
// front of the buffer and only the rest read on), reading with read(2), and
// looks for the pattern HEX ("56 55 4B 4F", as the program's prompt takes
// it) in each chunk with the program's own FindPattern (search/compare.h).
// Offsets stop below 4 GiB, as the program's do. Prints the offset of the
// match's line as the view shows it (8 hex digits); exits 1 when there is
// none.
#include "dump/codecs.h"
#include "search/chunk_walk.h"
#include "search/compare.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

uint8_t pattern[PATTERN_CAPACITY];
uint8_t chunk[SEARCH_CHUNK];

// Reads count bytes at offset (after a seek unless the file position stands
// there already) into buffer; the bytes got, or -1.
ssize_t ReadAt(int file, uint32_t offset, bool seek, uint8_t* buffer, uint32_t count)
{
    if (seek && lseek(file, offset, SEEK_SET) != static_cast<off_t>(offset))
        return -1;
    ssize_t got;
    do {
        got = read(file, buffer, count);
    } while (got < 0 && errno == EINTR);
    return got;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: floor FILE HEX\n");
        return 2;
    }
    const uint32_t length = ParseHexBytes(argv[2], pattern, PATTERN_CAPACITY);
    const int file = open(argv[1], O_RDONLY);
    struct stat status;
    if (length == 0 || file < 0 || fstat(file, &status) != 0) {
        std::fprintf(stderr, "floor: no pattern in \"%s\", or cannot open %s\n", argv[2], argv[1]);
        return 2;
    }
    // The program reaches the first 4 GiB - 1 bytes of a larger file.
    const uint32_t size = status.st_size >= 0xFFFFFFFF ? 0xFFFFFFFF : static_cast<uint32_t>(status.st_size);
    bool carry = false;
    for (ChunkWalk walk = FirstChunk(0); ChunkInFile(walk, size); walk = NextChunk(walk)) {
        const ChunkRead plan = PlanBlockRead(walk.position, size, carry, 1);
        if (plan.kept != 0)
            CarryOverlap(chunk, 1);
        ssize_t got = 0;
        if (plan.count != 0 && (got = ReadAt(file, plan.offset, plan.kept == 0, chunk + plan.kept, plan.count)) < 0) {
            std::fprintf(stderr, "floor: cannot read %s at %08X: %s\n", argv[1], plan.offset, std::strerror(errno));
            return 2;
        }
        const uint32_t count = ChunkCount(plan, true, static_cast<uint32_t>(got));
        carry = count == SEARCH_CHUNK;
        const uint32_t found = FindPattern(chunk, count, SEARCH_STEP, pattern, length);
        if (found != NO_MATCH) {
            std::printf("%08X\n", MatchLine(walk.position, found));
            return 0;
        }
    }
    return 1;
}
