// FindPattern and FindPatternSse2 against a plain compare at every position.
//
// Input: 2 bytes, count (0 to a whole chunk); 2 bytes, positions (0 to
// 65534, 65535 standing for NO_MATCH, every position); 2 bytes, the pattern
// length (0 to the capacity); 2 bytes, where in the data the pattern is
// taken from; 2 bytes, which pattern byte is then changed, and 1 byte, what
// it is xored with (0 keeps an exact copy). The data is the body repeated
// to count bytes (zeros when there is no body), so that short inputs make
// long periodic data with matches and near misses at many positions.
#include "search/chunk_walk.h"
#include "search/compare.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

uint32_t Reference(const uint8_t* data, uint32_t count, uint32_t positions, const uint8_t* pattern,
                   uint32_t length)
{
    if (length == 0)
        return NO_MATCH;
    for (uint64_t i = 0; i < positions && i + length <= count; ++i) {
        if (std::memcmp(data + i, pattern, length) == 0)
            return static_cast<uint32_t>(i);
    }
    return NO_MATCH;
}

// The body repeated into a block of exactly size bytes (zeros without one),
// copying what is filled already so that the copies double.
Block Repeated(const uint8_t* body, size_t bodySize, size_t size)
{
    Block block(size, 0);
    if (bodySize == 0 || size == 0)
        return block;
    size_t filled = bodySize < size ? bodySize : size;
    std::memcpy(block.bytes(), body, filled);
    while (filled < size) {
        const size_t part = filled < size - filled ? filled : size - filled;
        std::memcpy(block.bytes() + filled, block.bytes(), part);
        filled += part;
    }
    return block;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input input(data, size);
    const uint32_t count = input.Take(2) % (SEARCH_CHUNK + 1);
    const uint32_t rawPositions = input.Take(2);
    const uint32_t positions = rawPositions == 0xFFFF ? NO_MATCH : rawPositions;
    const uint32_t length = input.Take(2) % (PATTERN_CAPACITY + 1);
    const uint32_t from = input.Take(2);
    const uint32_t changed = input.Take(2);
    const auto flip = static_cast<uint8_t>(input.Take(1));

    Block chunk = Repeated(input.body(), input.bodySize(), count);
    // The pattern: length bytes of the data from `from` on (wrapping round),
    // or of the body when there is no data; one byte then xored with flip.
    Block pattern(length, 0);
    for (uint32_t k = 0; k < length; ++k) {
        if (count != 0)
            pattern.bytes()[k] = chunk.bytes()[(from + k) % count];
        else if (input.bodySize() != 0)
            pattern.bytes()[k] = input.body()[(from + k) % input.bodySize()];
    }
    if (length != 0)
        pattern.bytes()[changed % length] ^= flip;

    const uint32_t expected = Reference(chunk.bytes(), count, positions, pattern.bytes(), length);
    FUZZ_CHECK(FindPattern(chunk.bytes(), count, positions, pattern.bytes(), length) == expected);
    FUZZ_CHECK(FindPatternSse2(chunk.bytes(), count, positions, pattern.bytes(), length) == expected);
    return 0;
}
