// Which byte a caret in the view chooses, how many bytes a box shows, and
// how a text answer is stored.
#include "ui/edit_answer.h"

#include "dump/dump_text.h"
#include "tests/box_characters_932.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t At(uint32_t line, uint32_t column)
{
    return line * LINE_LENGTH + column;
}

TEST(ChooseByteAtCaret, ZonesOfTheDumpLines)
{
    struct Case {
        const char* name;
        uint32_t start, end;
        EditZone zone;
        uint32_t index;
    };
    const Case cases[] = {
        {"header line start", At(0, 0), At(0, 0), ZONE_NONE, 0},
        {"header above a pair", At(0, 14), At(0, 14), ZONE_NONE, 0},
        {"header line end", At(0, 78), At(0, 78), ZONE_NONE, 0},
        {"before the offset", At(1, 0), At(1, 0), ZONE_NONE, 0},
        {"in the offset", At(1, 5), At(1, 5), ZONE_NONE, 0},
        {"blank after the offset", At(1, 9), At(1, 9), ZONE_NONE, 0},
        {"blank before the first pair", At(1, 10), At(1, 10), ZONE_HEX, 0},
        {"before the first digit", At(1, 11), At(1, 11), ZONE_HEX, 0},
        {"between the digits", At(1, 12), At(1, 12), ZONE_HEX, 0},
        {"right after the first pair", At(1, 13), At(1, 13), ZONE_HEX, 1},
        {"line 3 column 14 (position 251)", 251, 251, ZONE_HEX, 33},
        {"between the last digits", At(1, 57), At(1, 57), ZONE_HEX, 15},
        {"right after the last pair", At(1, 58), At(1, 58), ZONE_NONE, 0},
        {"between the two blanks", At(1, 59), At(1, 59), ZONE_NONE, 0},
        {"first cell (position 139)", 139, 139, ZONE_TEXT, 0},
        {"last cell", At(1, 75), At(1, 75), ZONE_TEXT, 15},
        {"after the last cell", At(1, 76), At(1, 76), ZONE_NONE, 0},
        {"before the CR", At(1, 77), At(1, 77), ZONE_NONE, 0},
        {"between CR and LF", At(1, 78), At(1, 78), ZONE_NONE, 0},
        {"last line, last cell", At(64, 75), At(64, 75), ZONE_TEXT, 1023},
        {"selection of one digit", At(1, 11), At(1, 12), ZONE_NONE, 0},
        {"selection backwards", At(2, 60), At(1, 60), ZONE_NONE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CaretChoice choice = ChooseByteAtCaret(c.start, c.end);
        EXPECT_EQ(choice.zone, c.zone);
        EXPECT_EQ(choice.index, c.index);
    }
}

TEST(EditShownCount, LimitsByFileWindowAndBox)
{
    struct Case {
        const char* name;
        uint32_t fileSize, topOffset, validCount, index, limit, shown;
    };
    const Case cases[] = {
        {"middle of a large file", 0x2000, 0x1000, 0x1000, 0x21, 8, 8},
        {"character zone shows 16", 0x2000, 0x1000, 0x1000, 0x21, 16, 16},
        {"partial last line, first pair", 0x1003, 0x1000, 3, 0, 8, 3},
        {"partial last line, last byte", 0x1003, 0x1000, 3, 2, 8, 1},
        {"partial last line, blank cell", 0x1003, 0x1000, 3, 3, 8, 0},
        {"short read: file longer than the window", 0x2000, 0x1000, 5, 2, 8, 3},
        {"short read: beyond the bytes read", 0x2000, 0x1000, 5, 5, 8, 0},
        {"nothing read", 0x2000, 0x1000, 0, 0, 8, 0},
        {"empty file", 0, 0, 0, 0, 8, 0},
        {"top at the end of the file", 0x1000, 0x1000, 0, 0, 8, 0},
        {"more than 2 GiB left (unsigned)", 0x90000000, 0, 32768, 0, 8, 8},
        {"4 GiB - 1 file, last line", 0xFFFFFFFF, 0xFFFFFFF0, 15, 14, 16, 1},
        {"index would wrap the offset", 0xFFFFFFFF, 0xFFFFFFF0, 15, 0xFFFFFFF0, 8, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EditShownCount(c.fileSize, c.topOffset, c.validCount, c.index, c.limit), c.shown);
    }
}

TEST(EditRoom, OnlyBytesThatHoldFileData)
{
    struct Case {
        uint32_t validCount, index, room;
    };
    const Case cases[] = {
        {0x8000, 0, 0x8000},      {0x8000, 0x7FFF, 1}, {0x8000, 0x8000, 0},
        {0x8000, 0xFFFFFFFF, 0},  {5, 2, 3},           {5, 5, 0},
        {5, 6, 0},                {0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EditRoom(c.validCount, c.index), c.room) << "valid " << c.validCount << ", index " << c.index;
}

// Each case: the bytes of dest, how many of them the box showed, the
// answer and the room; then dest after the store and the count stored.
// 8F without a trail byte and the pair 81 20 show as ・ and come back as 81 45.
TEST(StoreTextAnswer, LeftAloneCharactersKeepTheirBytesTypedOnesAreStored)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> before;
        uint32_t shown;
        const char* answer;
        uint32_t room;
        std::vector<uint8_t> after;
        uint32_t stored;
    };
    const std::vector<uint8_t> dots = {0x41, 0x00, 0x0A, 0x2E, 0x01, 0x42}; // "A..." shown
    const std::vector<uint8_t> pair = {0x61, 0x81, 0x20, 0x62, 0x01, 0x42}; // "a・b" shown
    const std::vector<uint8_t> lone = {0x41, 0x42, 0x8F, 0x05, 0x42};       // "AB・" shown
    const std::vector<uint8_t> crlf = {0x41, 0x42, 0x0D, 0x0A, 0x43, 0x44}; // "AB..C" shown
    const Case cases[] = {
        {"unchanged: the bytes below 0x20 keep their bytes", dots, 4, "A...", 6, dots, 4},
        {"first cell changed", dots, 4, "Z...", 6, {0x5A, 0x00, 0x0A, 0x2E, 0x01, 0x42}, 4},
        {"control byte typed over", dots, 4, "AX.Y", 6, {0x41, 0x58, 0x0A, 0x59, 0x01, 0x42}, 4},
        {"dot typed over a letter", dots, 4, "....", 6, {0x2E, 0x00, 0x0A, 0x2E, 0x01, 0x42}, 4},
        {"dots typed beyond the text", dots, 4, "A.....", 6, {0x41, 0x00, 0x0A, 0x2E, 0x2E, 0x2E}, 6},
        {"line ends after the first character typed over", crlf, 5, "ZB..C", 6,
         {0x5A, 0x42, 0x0D, 0x0A, 0x43, 0x44}, 5},
        {"a double-byte character typed over the first shifts the rest on", crlf, 5,
         "\x83\x41" "B..C", 6, {0x83, 0x41, 0x42, 0x0D, 0x0A, 0x43}, 6},
        {"a letter and a dot typed over the first, before a control byte left alone", {0x41, 0x01, 0x42}, 2,
         "Z..", 3, {0x5A, 0x2E, 0x01}, 3},
        {"a letter typed in the middle shifts the rest on", {0x41, 0x01, 0x42, 0x43, 0x44}, 4, "A.xBC", 5,
         {0x41, 0x01, 0x78, 0x42, 0x43}, 5},
        {"shorter answer", dots, 4, "B", 6, {0x42, 0x00, 0x0A, 0x2E, 0x01, 0x42}, 1},
        {"empty answer", dots, 4, "", 6, dots, 0},
        {"longer than the room", dots, 4, "abcdefgh", 3, {'a', 'b', 'c', 0x2E, 0x01, 0x42}, 3},
        {"no room", dots, 4, "abc", 0, dots, 0},
        {"double-byte text", dots, 4, "\x93\xFA\x96\x7B", 6, {0x93, 0xFA, 0x96, 0x7B, 0x01, 0x42}, 4},
        {"pair that is no character, unchanged", pair, 4, "a\x81\x45" "b", 6, pair, 4},
        {"pair that is no character, the cell after it changed", pair, 4, "a\x81\x45" "c", 6,
         {0x61, 0x81, 0x20, 0x63, 0x01, 0x42}, 4},
        {"pair that is no character, both cells around it changed", pair, 4, "c\x81\x45" "d", 6,
         {0x63, 0x81, 0x20, 0x64, 0x01, 0x42}, 4},
        {"pair that is no character, deleted", pair, 4, "ab", 6, {0x61, 0x62, 0x20, 0x62, 0x01, 0x42}, 2},
        {"pair that is no character, typed over", pair, 4, "a\x82\xA0" "b", 6,
         {0x61, 0x82, 0xA0, 0x62, 0x01, 0x42}, 4},
        {"lone lead byte at the end, unchanged", lone, 3, "AB\x81\x45", 5, lone, 3},
        {"lone lead byte at the end, changed only at the start", lone, 3, "XB\x81\x45", 5,
         {0x58, 0x42, 0x8F, 0x05, 0x42}, 3},
        {"lone lead byte at the end, the cell before it deleted", lone, 3, "A\x81\x45", 5,
         {0x41, 0x8F, 0x8F, 0x05, 0x42}, 2},
        {"lone lead byte at the end, lengthened", lone, 3, "AB\x81\x45YZ", 5,
         {0x41, 0x42, 0x8F, 'Y', 'Z'}, 5},
        {"lone lead byte at the end, shortened", lone, 3, "A", 5, lone, 1},
        {"lone lead byte at the end, typed over", lone, 3, "ABC", 5, {0x41, 0x42, 0x43, 0x05, 0x42}, 3},
        {"lone lead byte at the end, the room holds no more", lone, 3, "AB\x81\x45", 3, lone, 3},
        {"lone lead byte at the end, a double-byte character ending like it typed", lone, 3,
         "\x83\x81\x45", 5, {0x83, 0x81, 0x45, 0x05, 0x42}, 3},
        {"lead byte before a control byte, unchanged", {0x8F, 0x05, 0x41, 0x06}, 3, "\x81\x45" "A", 4,
         {0x8F, 0x05, 0x41, 0x06}, 3},
        {"lead byte before a control byte, the cell after changed", {0x8F, 0x05, 0x41, 0x06}, 3,
         "\x81\x45" "Z", 4, {0x8F, 0x05, 0x5A, 0x06}, 3},
        {"control byte before a lone lead byte", {0x05, 0x8F, 0x06}, 2, ".\x81\x45", 3,
         {0x05, 0x8F, 0x06}, 2},
        {"nothing shown, text typed", {0x01, 0x02}, 0, "xy", 2, {'x', 'y'}, 2},
    };
    const BoxCharacters box = MakeBoxCharacters932();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = c.before;
        bytes.push_back(0xEE); // beyond the room of every case
        EXPECT_EQ(StoreTextAnswer(c.answer, c.shown, box, bytes.data(), c.room), c.stored);
        std::vector<uint8_t> expected = c.after;
        expected.push_back(0xEE);
        EXPECT_EQ(bytes, expected);
    }
}

} // namespace
