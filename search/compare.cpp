// compare.cpp - finding a pattern in a chunk at close to memory speed.
//
// A plain compare at every position spends its time on positions that
// cannot match. The filter here looks at 16 positions at once (32 where the
// processor has AVX2): a position is a candidate only when its byte equals
// the pattern's first byte and the byte length - 1 further on equals the
// pattern's last byte. Checking two bytes far apart keeps the candidates
// rare even when the first byte is common (a pattern 00 00 00 01 over zeros
// has none); only candidates are compared in full.
#include "search/compare.h"

#include <immintrin.h>

#include <cstring>

namespace {

// Whether the bytes between the first and the last equal the pattern's.
inline bool MiddleMatches(const uint8_t* at, const uint8_t* pattern, uint32_t length)
{
    return length <= 2 || std::memcmp(at + 1, pattern + 1, length - 2) == 0;
}

// The first candidate of mask (bit k: position base + k) that matches in
// full, or NO_MATCH.
inline uint32_t CheckCandidates(uint32_t mask, const uint8_t* data, uint32_t base,
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

// Start positions whose whole pattern lies within the data and below
// positions; 0 when the pattern is empty or longer than the data.
inline uint32_t EndOfStarts(uint32_t count, uint32_t positions, uint32_t length)
{
    if (length == 0 || length > count)
        return 0;
    const uint32_t end = count - length + 1;
    return end < positions ? end : positions;
}

// The last positions, one at a time, from base to end.
inline uint32_t ScanTail(const uint8_t* data, uint32_t base, uint32_t end, const uint8_t* pattern,
                         uint32_t length)
{
    const uint32_t lastOffset = length - 1;
    for (; base < end; ++base) {
        if (data[base] == pattern[0] && data[base + lastOffset] == pattern[lastOffset] &&
            MiddleMatches(data + base, pattern, length))
            return base;
    }
    return NO_MATCH;
}

// Both filters below test whole blocks only: every position of a block is
// below end, so every byte loaded, up to the block's last position plus
// length - 1, lies within the data. Four blocks are tested together, as
// candidates are rare; their masks are only taken apart when one is set.

// 16 positions a block, SSE2 (every x86-64 processor).
uint32_t FindSse2(const uint8_t* data, uint32_t end, const uint8_t* pattern, uint32_t length)
{
    constexpr uint32_t BLOCK = 16;
    const uint32_t lastOffset = length - 1;
    const __m128i first = _mm_set1_epi8(static_cast<char>(pattern[0]));
    const __m128i last = _mm_set1_epi8(static_cast<char>(pattern[lastOffset]));
    auto candidates = [&](uint32_t base) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + base));
        const __m128i b =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + base + lastOffset));
        return _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last));
    };
    uint32_t base = 0;
    for (; base + 4 * BLOCK <= end; base += 4 * BLOCK) {
        const __m128i c0 = candidates(base);
        const __m128i c1 = candidates(base + BLOCK);
        const __m128i c2 = candidates(base + 2 * BLOCK);
        const __m128i c3 = candidates(base + 3 * BLOCK);
        const __m128i any = _mm_or_si128(_mm_or_si128(c0, c1), _mm_or_si128(c2, c3));
        if (_mm_movemask_epi8(any) == 0)
            continue;
        const __m128i blocks[4] = {c0, c1, c2, c3};
        for (uint32_t k = 0; k < 4; ++k) {
            const uint32_t mask = static_cast<uint32_t>(_mm_movemask_epi8(blocks[k]));
            const uint32_t found = CheckCandidates(mask, data, base + k * BLOCK, pattern, length);
            if (found != NO_MATCH)
                return found;
        }
    }
    for (; base + BLOCK <= end; base += BLOCK) {
        const uint32_t mask = static_cast<uint32_t>(_mm_movemask_epi8(candidates(base)));
        const uint32_t found = CheckCandidates(mask, data, base, pattern, length);
        if (found != NO_MATCH)
            return found;
    }
    return ScanTail(data, base, end, pattern, length);
}

// 32 positions a block, for processors with AVX2.
__attribute__((target("avx2"))) uint32_t FindAvx2(const uint8_t* data, uint32_t end,
                                                  const uint8_t* pattern, uint32_t length)
{
    constexpr uint32_t BLOCK = 32;
    const uint32_t lastOffset = length - 1;
    const __m256i first = _mm256_set1_epi8(static_cast<char>(pattern[0]));
    const __m256i last = _mm256_set1_epi8(static_cast<char>(pattern[lastOffset]));
    auto candidates = [&](uint32_t base) __attribute__((target("avx2")))
    {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + base));
        const __m256i b =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + base + lastOffset));
        return _mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(b, last));
    };
    uint32_t base = 0;
    for (; base + 4 * BLOCK <= end; base += 4 * BLOCK) {
        const __m256i c0 = candidates(base);
        const __m256i c1 = candidates(base + BLOCK);
        const __m256i c2 = candidates(base + 2 * BLOCK);
        const __m256i c3 = candidates(base + 3 * BLOCK);
        const __m256i any = _mm256_or_si256(_mm256_or_si256(c0, c1), _mm256_or_si256(c2, c3));
        if (_mm256_testz_si256(any, any))
            continue;
        const __m256i blocks[4] = {c0, c1, c2, c3};
        for (uint32_t k = 0; k < 4; ++k) {
            const uint32_t mask = static_cast<uint32_t>(_mm256_movemask_epi8(blocks[k]));
            const uint32_t found = CheckCandidates(mask, data, base + k * BLOCK, pattern, length);
            if (found != NO_MATCH)
                return found;
        }
    }
    for (; base + BLOCK <= end; base += BLOCK) {
        const uint32_t mask = static_cast<uint32_t>(_mm256_movemask_epi8(candidates(base)));
        const uint32_t found = CheckCandidates(mask, data, base, pattern, length);
        if (found != NO_MATCH)
            return found;
    }
    // Fewer than 32 positions are left: the 16-wide filter and the tail.
    const uint32_t found = FindSse2(data + base, end - base, pattern, length);
    return found == NO_MATCH ? NO_MATCH : base + found;
}

bool HasAvx2()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}

} // namespace

uint32_t FindPatternSse2(const uint8_t* data, uint32_t count, uint32_t positions,
                         const uint8_t* pattern, uint32_t length)
{
    const uint32_t end = EndOfStarts(count, positions, length);
    return end == 0 ? NO_MATCH : FindSse2(data, end, pattern, length);
}

uint32_t FindPattern(const uint8_t* data, uint32_t count, uint32_t positions,
                     const uint8_t* pattern, uint32_t length)
{
    const uint32_t end = EndOfStarts(count, positions, length);
    if (end == 0)
        return NO_MATCH;
    return HasAvx2() ? FindAvx2(data, end, pattern, length) : FindSse2(data, end, pattern, length);
}
