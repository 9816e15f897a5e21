// The caret-to-byte rule, the count of bytes an edit shows, and the store of
// a text answer, on arbitrary positions, sizes and texts.
//
// Input: 4 bytes each for the caret's start and end (end = start when the
// low bit of the next byte is clear), fileSize, topOffset, validCount and
// the index; 1 byte, the limit; 2 bytes, the room (below 1024); then the body: the
// answer and the bytes the box showed, split at its first 0xFF byte. The box
// treats characters as under Wine in code page 932.
#include "dump/dump_text.h"
#include "tests/box_characters_932.h"
#include "tests/fuzz/fuzz_input.h"
#include "ui/edit_answer.h"

#include <algorithm>
#include <string>
#include <vector>

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

    // The answer goes into a block of exactly room bytes, which starts with
    // the bytes the box showed.
    const uint8_t* body = input.body();
    const size_t bodySize = input.bodySize();
    const void* split = std::memchr(body, 0xFF, bodySize);
    const size_t answerSize = split ? static_cast<size_t>(static_cast<const uint8_t*>(split) - body) : bodySize;
    Block answer = Text(body, answerSize);
    const uint8_t* shownBytes = split ? body + answerSize + 1 : body;
    const uint32_t boxShown = static_cast<uint32_t>(std::min<size_t>(
        {split ? bodySize - answerSize - 1 : 0, room, TEXT_SHOWN_MOST}));
    std::vector<uint8_t> before(room);
    for (size_t i = 0; i < room; ++i)
        before[i] = i < boxShown ? shownBytes[i] : static_cast<uint8_t>(i * 31);
    const BoxCharacters box = MakeBoxCharacters932();
    auto store = [&](Block& text, Block& dest) {
        std::copy(before.begin(), before.end(), dest.bytes());
        return StoreTextAnswer(text.chars(), boxShown, box, dest.bytes(), room);
    };

    // Any answer: nothing beyond the bytes stored changes, and no more are
    // stored than twice the answer's bytes (a character that comes back as
    // one byte may stand for two).
    Block dest(room);
    const uint32_t stored = store(answer, dest);
    const std::string answerText = TextOf(answer);
    FUZZ_CHECK(stored <= room && stored <= 2 * answerText.size());
    FUZZ_CHECK(std::equal(before.begin() + stored, before.end(), dest.bytes() + stored));

    // The answer of a box left alone, and of one whose first character was
    // typed over by 'x': the shown bytes come back as they were, the ones
    // shown as dots included, and none after them changes.
    std::string asShown;
    std::string afterFirst;
    uint32_t firstLength = 0;
    for (uint32_t i = 0; i < boxShown;) {
        char cell[2] = {static_cast<char>(before[i] < 0x20 ? '.' : before[i]), 0};
        uint32_t length = 1;
        if (i + 1 < boxShown && box.leadByte[static_cast<uint8_t>(cell[0])]) {
            cell[1] = static_cast<char>(before[i + 1] < 0x20 ? '.' : before[i + 1]);
            length = 2;
        }
        char back[HANDED_BACK_MOST];
        const std::string handed(back, box.handBack(cell, length, back));
        asShown += handed;
        if (i != 0)
            afterFirst += handed;
        if (i == 0)
            firstLength = length;
        i += length;
    }
    const std::vector<uint8_t> shownBefore(before.begin(), before.begin() + boxShown);
    Block leftAlone = Text(reinterpret_cast<const uint8_t*>(asShown.data()), asShown.size());
    FUZZ_CHECK(store(leftAlone, dest) == boxShown);
    FUZZ_CHECK(std::equal(shownBefore.begin(), shownBefore.end(), dest.bytes()));
    FUZZ_CHECK(std::equal(before.begin() + boxShown, before.end(), dest.bytes() + boxShown));
    if (boxShown > 0) {
        afterFirst.insert(0, 1, 'x');
        Block typed = Text(reinterpret_cast<const uint8_t*>(afterFirst.data()), afterFirst.size());
        const uint32_t expected = boxShown - firstLength + 1;
        FUZZ_CHECK(store(typed, dest) == expected);
        FUZZ_CHECK(dest.bytes()[0] == 'x');
        FUZZ_CHECK(std::equal(shownBefore.begin() + firstLength, shownBefore.end(), dest.bytes() + 1));
        FUZZ_CHECK(std::equal(before.begin() + expected, before.end(), dest.bytes() + expected));
    }
    return 0;
}
