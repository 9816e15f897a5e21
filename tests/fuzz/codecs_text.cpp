// FormatPrintable and CopyTextBytes on arbitrary bytes and arbitrary text.
//
// Input: 2 bytes, the maxCount of a copy (0 to the pattern capacity), then
// the body, shown once as printable text and copied once as a text.
#include "dump/codecs.h"
#include "search/compare.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// The bytes shown in count + 1 bytes: a byte below 0x20 as '.', any other
// unchanged, then the NUL; the shown text, having no NUL inside, copies
// back whole.
void CheckPrintable(const uint8_t* bytes, uint32_t count)
{
    Block room(size_t{count} + 1);
    FormatPrintable(room.chars(), bytes, count);
    FUZZ_CHECK(room.bytes()[count] == 0);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t shown = room.bytes()[i];
        FUZZ_CHECK(shown >= 0x20);
        FUZZ_CHECK(shown == (bytes[i] >= 0x20 ? bytes[i] : '.'));
    }

    Block copy(count);
    FUZZ_CHECK(CopyTextBytes(room.chars(), copy.bytes(), count) == count);
    FUZZ_CHECK(count == 0 || std::memcmp(copy.bytes(), room.bytes(), count) == 0);
}

// The text copied into exactly maxCount bytes: min(length, maxCount) bytes,
// unchanged, and nothing after them.
void CheckCopy(const uint8_t* bytes, size_t size, uint32_t maxCount)
{
    Block text = Text(bytes, size);
    const size_t length = TextOf(text).size();
    const size_t expected = length < maxCount ? length : maxCount;

    Block dest(maxCount);
    const uint32_t copied = CopyTextBytes(text.chars(), dest.bytes(), maxCount);
    FUZZ_CHECK(copied == expected);
    FUZZ_CHECK(expected == 0 || std::memcmp(dest.bytes(), bytes, expected) == 0);
    for (size_t i = expected; i < maxCount; ++i)
        FUZZ_CHECK(dest.bytes()[i] == 0xA5);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input input(data, size);
    const uint32_t maxCount = input.Take(2) % (PATTERN_CAPACITY + 1);

    CheckPrintable(input.body(), static_cast<uint32_t>(input.bodySize()));
    CheckCopy(input.body(), input.bodySize(), maxCount);
    return 0;
}
