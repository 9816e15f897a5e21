// The search compare against a plain compare at every position.
#include "search/chunk_walk.h"
#include "search/compare.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

constexpr uint32_t CHUNK = SEARCH_CHUNK; // 0x8000
constexpr uint32_t STEP = SEARCH_STEP;   // 0x7000
static_assert(CHUNK == 0x8000 && STEP == 0x7000);

uint32_t Reference(const std::vector<uint8_t>& data, uint32_t count, uint32_t positions,
                   const std::vector<uint8_t>& pattern)
{
    const uint32_t length = static_cast<uint32_t>(pattern.size());
    if (length == 0)
        return NO_MATCH;
    for (uint32_t i = 0; i < positions && i + length <= count; ++i) {
        uint32_t k = 0;
        while (k < length && data[i + k] == pattern[k])
            ++k;
        if (k == length)
            return i;
    }
    return NO_MATCH;
}

// FindPattern, after checking that the 16-wide filter alone agrees with it.
uint32_t Find(const std::vector<uint8_t>& data, uint32_t count, uint32_t positions,
              const std::vector<uint8_t>& pattern)
{
    const auto length = static_cast<uint32_t>(pattern.size());
    const uint32_t found = FindPattern(data.data(), count, positions, pattern.data(), length);
    EXPECT_EQ(FindPatternSse2(data.data(), count, positions, pattern.data(), length), found);
    return found;
}

std::vector<uint8_t> Placed(uint32_t size, uint32_t at, const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> data(size, 0);
    for (size_t k = 0; k < bytes.size() && at + k < size; ++k)
        data[at + k] = bytes[k];
    return data;
}

TEST(FindPattern, BoundaryCases)
{
    const std::vector<uint8_t> ab = {0xAB, 0xCD};
    const std::vector<uint8_t> long64(64, 0x5A);
    std::vector<uint8_t> big(4096);
    for (size_t k = 0; k < big.size(); ++k)
        big[k] = static_cast<uint8_t>(k * 7 + 1);
    struct Case {
        const char* name;
        std::vector<uint8_t> data;
        uint32_t count, positions;
        std::vector<uint8_t> pattern;
        uint32_t expected;
    };
    const Case cases[] = {
        {"at the first position", Placed(CHUNK, 0, ab), CHUNK, STEP, ab, 0},
        {"at the last examined position", Placed(CHUNK, STEP - 1, ab), CHUNK, STEP, ab, STEP - 1},
        {"just past the examined positions", Placed(CHUNK, STEP, ab), CHUNK, STEP, ab, NO_MATCH},
        {"4096 bytes from the last examined position", Placed(CHUNK, STEP - 1, big), CHUNK, STEP, big, STEP - 1},
        {"ends at the last byte read", Placed(100, 98, ab), 100, STEP, ab, 98},
        {"only its first byte read", Placed(100, 99, ab), 100, STEP, ab, NO_MATCH},
        {"bytes after count are not read", Placed(200, 99, ab), 100, STEP, ab, NO_MATCH},
        {"longer than the bytes read", Placed(30, 0, long64), 30, STEP, long64, NO_MATCH},
        {"exactly the bytes read", Placed(64, 0, long64), 64, STEP, long64, 0},
        {"nothing read", Placed(16, 0, ab), 0, STEP, ab, NO_MATCH},
        {"empty pattern matches nowhere", Placed(64, 0, ab), 64, STEP, {}, NO_MATCH},
        {"one byte, the lowest of two", Placed(CHUNK, 5000, {0x80, 0, 0x80}), CHUNK, STEP, {0x80}, 5000},
        {"00 00 00 01 over zeros", Placed(CHUNK, 0x6000, {0, 0, 0, 1}), CHUNK, STEP, {0, 0, 0, 1}, 0x6000},
        {"first and last match, middle differs", Placed(CHUNK, 10, {1, 2, 9, 4}), CHUNK, STEP, {1, 2, 3, 4}, NO_MATCH},
        {"bytes compare unsigned", Placed(64, 40, {0xFF, 0x7F}), 64, STEP, {0xFF, 0x7F}, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const uint32_t expected = Reference(c.data, c.count, c.positions, c.pattern);
        EXPECT_EQ(expected, c.expected) << "the reference disagrees with the table";
        EXPECT_EQ(Find(c.data, c.count, c.positions, c.pattern), expected);
    }
}

// Every count and position limit near the block sizes, with the pattern
// anywhere around the end: the tail loops and the last whole blocks.
TEST(FindPattern, EveryEndAroundTheBlocks)
{
    const std::vector<uint8_t> pattern = {7, 8, 9};
    for (uint32_t count = 0; count < 300; ++count) {
        for (uint32_t at = 0; at + 1 < count + 3; ++at) {
            const std::vector<uint8_t> data = Placed(count + 8, at, pattern);
            for (uint32_t positions : {count, count / 2, 128u, 129u, 0u}) {
                ASSERT_EQ(Find(data, count, positions, pattern), Reference(data, count, positions, pattern))
                    << "count " << count << " at " << at << " positions " << positions;
            }
        }
    }
}

TEST(FindPattern, RandomDataAgainstTheReference)
{
    std::mt19937 random(20261210);
    for (int round = 0; round < 2000; ++round) {
        // A small alphabet makes partial matches common.
        const int alphabet = 1 + static_cast<int>(random() % 4);
        const uint32_t count = random() % 600;
        std::vector<uint8_t> data(count + 1);
        for (uint8_t& b : data)
            b = static_cast<uint8_t>(random() % alphabet);
        std::vector<uint8_t> pattern(1 + random() % 8);
        for (uint8_t& b : pattern)
            b = static_cast<uint8_t>(random() % alphabet);
        const uint32_t positions = random() % 2 ? count : random() % (count + 1);
        ASSERT_EQ(Find(data, count, positions, pattern), Reference(data, count, positions, pattern))
            << "round " << round;
    }
}

} // namespace
