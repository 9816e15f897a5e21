// compare.cpp - finding a pattern in a chunk at close to memory speed.
//
// A plain compare at every position spends its time on positions that
// cannot match. The filter here looks at 16 positions at once: a position is
// a candidate only when its byte equals the pattern's first byte and the
// byte length - 1 further on equals the pattern's last byte. Checking two
// bytes far apart keeps the candidates rare even when the first byte is
// common (a pattern 00 00 00 01 over zeros has none); only candidates are
// compared in full.
#include "search/compare.h"

#include <emmintrin.h>

#include <cstring>

namespace {

constexpr uint32_t BLOCK = 16;

// Mask of the positions base .. base + 15 whose first and last bytes match.
inline unsigned CandidateMask(const uint8_t* data, uint32_t base, uint32_t lastOffset,
                              __m128i first, __m128i last)
{
    const __m128i atFirst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + base));
    const __m128i atLast = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + base + lastOffset));
    const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(atFirst, first), _mm_cmpeq_epi8(atLast, last));
    return static_cast<unsigned>(_mm_movemask_epi8(both));
}

// Whether the bytes between the first and the last equal the pattern's.
inline bool MiddleMatches(const uint8_t* at, const uint8_t* pattern, uint32_t length)
{
    return length <= 2 || std::memcmp(at + 1, pattern + 1, length - 2) == 0;
}

// The first candidate of mask that matches in full, or NO_MATCH.
inline uint32_t CheckCandidates(unsigned mask, const uint8_t* data, uint32_t base,
                                const uint8_t* pattern, uint32_t length)
{
    while (mask != 0) {
        const uint32_t i = base + static_cast<uint32_t>(__builtin_ctz(mask));
        if (MiddleMatches(data + i, pattern, length))
            return i;
        mask &= mask - 1;
    }
    return NO_MATCH;
}

} // namespace

uint32_t FindPattern(const uint8_t* data, uint32_t count, uint32_t positions,
                     const uint8_t* pattern, uint32_t length)
{
    if (length == 0 || length > count)
        return NO_MATCH;
    // Start positions whose pattern ends within the data.
    uint32_t end = count - length + 1;
    if (end > positions)
        end = positions;

    const uint32_t lastOffset = length - 1;
    const __m128i first = _mm_set1_epi8(static_cast<char>(pattern[0]));
    const __m128i last = _mm_set1_epi8(static_cast<char>(pattern[lastOffset]));

    // Whole blocks: every position of the block is below end, so every byte
    // loaded, up to base + 15 + lastOffset, lies within the data. Four blocks
    // are tested together, as matches are rare.
    uint32_t base = 0;
    for (; base + 4 * BLOCK <= end; base += 4 * BLOCK) {
        const unsigned m0 = CandidateMask(data, base, lastOffset, first, last);
        const unsigned m1 = CandidateMask(data, base + BLOCK, lastOffset, first, last);
        const unsigned m2 = CandidateMask(data, base + 2 * BLOCK, lastOffset, first, last);
        const unsigned m3 = CandidateMask(data, base + 3 * BLOCK, lastOffset, first, last);
        if ((m0 | m1 | m2 | m3) == 0)
            continue;
        const unsigned masks[4] = {m0, m1, m2, m3};
        for (uint32_t k = 0; k < 4; ++k) {
            const uint32_t found = CheckCandidates(masks[k], data, base + k * BLOCK, pattern, length);
            if (found != NO_MATCH)
                return found;
        }
    }
    for (; base + BLOCK <= end; base += BLOCK) {
        const uint32_t found = CheckCandidates(CandidateMask(data, base, lastOffset, first, last),
                                               data, base, pattern, length);
        if (found != NO_MATCH)
            return found;
    }
    // The last positions, one at a time.
    for (; base < end; ++base) {
        if (data[base] == pattern[0] && data[base + lastOffset] == pattern[lastOffset] &&
            MiddleMatches(data + base, pattern, length))
            return base;
    }
    return NO_MATCH;
}
