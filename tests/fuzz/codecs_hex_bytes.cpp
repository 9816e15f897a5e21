// FormatHexBytes and ParseHexBytes on arbitrary bytes and arbitrary text.
//
// Input: 2 bytes, the maxCount of a parse (0 to the pattern capacity), then
// the body, formatted once as bytes and parsed once as a text.
#include "dump/codecs.h"
#include "search/compare.h"
#include "tests/fuzz/fuzz_input.h"

#include <vector>

namespace {

int DigitValue(unsigned char c)
{
    if (!IsHexDigit(c))
        return -1;
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

// What the header of ParseHexBytes describes, step by step over the text up
// to its NUL: blanks and tabs before a byte; a pair, or a lone digit that
// the end or a byte up to 0x20 (consumed) closes; any other byte stops.
std::vector<uint8_t> ReferenceParse(const std::string& text, uint32_t maxCount)
{
    std::vector<uint8_t> bytes;
    size_t i = 0;
    while (bytes.size() < maxCount) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        if (i == text.size() || DigitValue(text[i]) < 0)
            break;
        const int high = DigitValue(text[i++]);
        if (i < text.size() && DigitValue(text[i]) >= 0) {
            bytes.push_back(static_cast<uint8_t>(high * 16 + DigitValue(text[i++])));
        } else if (i == text.size()) {
            bytes.push_back(static_cast<uint8_t>(high));
        } else if (static_cast<unsigned char>(text[i]) <= 0x20) {
            bytes.push_back(static_cast<uint8_t>(high));
            ++i;
        } else {
            break;
        }
    }
    return bytes;
}

// Parses text into a block of exactly maxCount bytes; checks that nothing
// past the stored bytes changed and returns the stored bytes.
std::vector<uint8_t> Parse(const char* text, uint32_t maxCount)
{
    Block dest(maxCount);
    const uint32_t stored = ParseHexBytes(text, dest.bytes(), maxCount);
    FUZZ_CHECK(stored <= maxCount);
    for (uint32_t i = stored; i < maxCount; ++i)
        FUZZ_CHECK(dest.bytes()[i] == 0xA5);
    return std::vector<uint8_t>(dest.bytes(), dest.bytes() + stored);
}

// The bytes formatted into the room the header promises, in pairs that
// parse back to the same bytes, whole or limited to maxCount.
void CheckFormat(const uint8_t* bytes, uint32_t count, uint32_t maxCount)
{
    Block room(count == 0 ? 1 : 3 * size_t{count});
    FormatHexBytes(room.chars(), bytes, count);
    const std::string text = TextOf(room);
    FUZZ_CHECK(text.size() + 1 == room.size());
    for (uint32_t i = 0; i < count; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
        FUZZ_CHECK(text.compare(3 * i, 2, pair) == 0);
        FUZZ_CHECK(i + 1 == count || text[3 * i + 2] == ' ');
    }

    const std::vector<uint8_t> whole(bytes, bytes + count);
    FUZZ_CHECK(Parse(room.chars(), count) == whole);
    const uint32_t limited = count < maxCount ? count : maxCount;
    FUZZ_CHECK(Parse(room.chars(), maxCount) == std::vector<uint8_t>(bytes, bytes + limited));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input input(data, size);
    const uint32_t maxCount = input.Take(2) % (PATTERN_CAPACITY + 1);

    CheckFormat(input.body(), static_cast<uint32_t>(input.bodySize()), maxCount);

    Block text = Text(input.body(), input.bodySize());
    FUZZ_CHECK(Parse(text.chars(), maxCount) == ReferenceParse(TextOf(text), maxCount));
    return 0;
}
