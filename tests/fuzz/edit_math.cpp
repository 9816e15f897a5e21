// The caret-to-byte rule, the count of bytes an edit shows, and the store of
// a text answer, on arbitrary positions, sizes and texts.
//
// Input: 4 bytes each for the caret's start and end (end = start when the
// low bit of the next byte is clear), fileSize, topOffset, validCount and
// the index; 1 byte, the limit; 2 bytes, the room (below 1024); then the body: the
// answer and the untouched text, split at its first 0xFF byte.
#include "dump/dump_text.h"
#include "tests/fuzz/fuzz_input.h"
#include "ui/edit_math.h"

#include <algorithm>

namespace {

// The byte a caret chooses, column by column, as the view's grid says.
CaretChoice ReferenceChoice(uint32_t start, uint32_t end)
{
    if (start != end || start / LINE_LENGTH == 0)
        return {ZONE_NONE, 0};
    const uint32_t line = start / LINE_LENGTH - 1;
    const uint32_t column = start % LINE_LENGTH;
    for (uint32_t i = 0; i < 16; ++i) {
        // The blank before a pair and both places within it.
        if (column == 10 + 3 * i || column == 11 + 3 * i || column == 12 + 3 * i)
            return {ZONE_HEX, line * 16 + i};
        if (column == 60 + i)
            return {ZONE_TEXT, line * 16 + i};
    }
    return {ZONE_NONE, 0};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input input(data, size);
    const uint32_t start = input.Take(4);
    uint32_t end = input.Take(4);
    if ((input.Take(1) & 1) == 0)
        end = start;
    const uint32_t fileSize = input.Take(4);
    const uint32_t topOffset = input.Take(4) & ~uint32_t{15};
    const uint32_t validCount = input.Take(4) % (32768 + 1);
    const uint32_t index = input.Take(4);
    const uint32_t limit = input.Take(1);
    const uint32_t room = input.Take(2) % 1024; // an answer holds at most 255 bytes

    const CaretChoice choice = ChooseByteAtCaret(start, end);
    const CaretChoice expected = ReferenceChoice(start, end);
    FUZZ_CHECK(choice.zone == expected.zone && choice.index == expected.index);

    // Never a byte past the window's valid bytes or the file's end, never
    // more than the limit, and the whole count whenever all of it is there.
    const uint32_t shown = EditShownCount(fileSize, topOffset, validCount, index, limit);
    const uint64_t inFile = topOffset < fileSize ? uint64_t{fileSize} - topOffset : 0;
    const uint64_t available = std::min<uint64_t>(inFile, validCount);
    const uint64_t left = index < available ? available - index : 0;
    FUZZ_CHECK(shown == std::min<uint64_t>(left, limit));

    // The answer goes into a block of exactly room bytes.
    const uint8_t* body = input.body();
    const size_t bodySize = input.bodySize();
    const void* split = std::memchr(body, 0xFF, bodySize);
    const size_t answerSize = split ? static_cast<size_t>(static_cast<const uint8_t*>(split) - body) : bodySize;
    Block answer = Text(body, answerSize);
    Block untouched = split ? Text(body + answerSize + 1, bodySize - answerSize - 1) : Text(body, 0);
    Block dest(room);
    for (size_t i = 0; i < room; ++i)
        dest.bytes()[i] = static_cast<uint8_t>(i * 31);
    const uint32_t stored = StoreTextAnswer(answer.chars(), untouched.chars(), dest.bytes(), room);
    const std::string answerText = TextOf(answer);
    FUZZ_CHECK(stored == std::min<size_t>(answerText.size(), room));
    const std::string untouchedText = TextOf(untouched);
    for (size_t i = 0; i < room; ++i) {
        const uint8_t before = static_cast<uint8_t>(i * 31);
        uint8_t want = before;
        if (i < stored) {
            const bool asLeft = i < untouchedText.size() && answerText[i] == untouchedText[i];
            want = asLeft ? (before < 0x20 ? '.' : before) : static_cast<uint8_t>(answerText[i]);
        }
        FUZZ_CHECK(dest.bytes()[i] == want);
    }
    return 0;
}
