// Dump lines and the header line of the view text.
#include "dump/dump_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Dump(uint32_t offset, const std::vector<uint8_t>& bytes)
{
    std::vector<char> buffer(LINE_LENGTH * (bytes.size() / 16 + 1) + 1, 'X');
    FormatDumpLines(buffer.data(), offset, bytes.data(), static_cast<uint32_t>(bytes.size()));
    return std::string(buffer.data());
}

TEST(FormatDumpLines, FullLineMatchesTheGrid)
{
    const std::vector<uint8_t> bytes = {0x44, 0x75, 0x6D, 0x70, 0x20, 0x6C, 0x69, 0x6E,
                                        0x65, 0x20, 0x74, 0x65, 0x78, 0x74, 0x0D, 0x0A};
    EXPECT_EQ(Dump(0x1230, bytes),
              " 00001230  44 75 6D 70 20 6C 69 6E 65 20 74 65 78 74 0D 0A  Dump line text.. \r\n");
}

TEST(FormatDumpLines, PartialLineKeepsTheWholeGrid)
{
    const std::string line = Dump(0x20, {0x41, 0x42, 0x43});
    ASSERT_EQ(line.size(), LINE_LENGTH);
    EXPECT_EQ(line, " 00000020  41 42 43" + std::string(41, ' ') + "ABC" + std::string(14, ' ') + "\r\n");
}

TEST(FormatDumpLines, SeventeenBytesGiveTwoLinesTheSecondWithOneByte)
{
    std::vector<uint8_t> bytes(17);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>('a' + i);
    const std::string text = Dump(0xFFFFFFE0, bytes);
    ASSERT_EQ(text.size(), 2 * LINE_LENGTH);
    EXPECT_EQ(text.substr(LINE_LENGTH, 13), " FFFFFFF0  71");
    EXPECT_EQ(text[LINE_LENGTH + 60], 'q');
    EXPECT_EQ(text.substr(LINE_LENGTH + 13, 47), std::string(47, ' '));
}

TEST(FormatDumpLines, CharacterCells)
{
    struct Case {
        uint8_t byte;
        char cell;
        const char* hex;
    };
    const Case cases[] = {
        {0x00, '.', "00"}, {0x0D, '.', "0D"}, {0x1F, '.', "1F"}, {0x20, ' ', "20"},
        {0x2E, '.', "2E"}, {0x7F, '\x7F', "7F"}, {0x80, '\x80', "80"}, {0x82, '\x82', "82"},
        {0xA0, '\xA0', "A0"}, {0xFF, '\xFF', "FF"},
    };
    for (const Case& c : cases) {
        const std::string line = Dump(0xABCDEF00, {c.byte});
        SCOPED_TRACE(c.hex);
        EXPECT_EQ(line.substr(0, 13), std::string(" ABCDEF00  ") + c.hex);
        EXPECT_EQ(line[60], c.cell);
    }
}

TEST(FormatDumpLines, CountZeroWritesNothing)
{
    char buffer[4] = {'X', 'X', 'X', 'X'};
    FormatDumpLines(buffer, 0, nullptr, 0);
    EXPECT_EQ(std::memcmp(buffer, "XXXX", 4), 0);
}

TEST(FormatHeaderLine, ShortStringIsPaddedLongStringIsCut)
{
    char line[LINE_LENGTH + 1];
    FormatHeaderLine(line, " Address");
    EXPECT_EQ(std::string(line), " Address" + std::string(69, ' ') + "\r\n");
    FormatHeaderLine(line, "");
    EXPECT_EQ(std::string(line), std::string(77, ' ') + "\r\n");
    const std::string longer(90, 'h');
    FormatHeaderLine(line, longer.c_str());
    EXPECT_EQ(std::string(line), std::string(77, 'h') + "\r\n");
}

TEST(DumpByteCount, LimitedByFileViewAndValidBytes)
{
    struct Case {
        uint32_t fileSize, topOffset, validCount, expected;
    };
    const Case cases[] = {
        {0, 0, 0, 0},                             // empty file
        {0x10, 0x10, 0x8000, 0},                  // at the end
        {0x10, 0x20, 0x8000, 0},                  // past the end
        {0x10005, 0x10000, 5, 5},                 // near the end
        {0x10000, 0x0, 0x8000, VIEW_BYTES},       // more than one view
        {0xFFFFFFFF, 0x80000000, 0x8000, VIEW_BYTES},
        {0x10000, 0x0, 100, 100},                 // a short read shows only what came
        {0x10000, 0x0, 0, 0},                     // a failed read shows nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.fileSize << " at " << c.topOffset);
        EXPECT_EQ(DumpByteCount(c.fileSize, c.topOffset, c.validCount), c.expected);
    }
}

TEST(BuildViewText, HeaderOnlyOrHeaderAndSixtyFourLines)
{
    static char text[VIEW_TEXT_SIZE];
    std::vector<uint8_t> window(VIEW_BYTES, 0x41);
    BuildViewText(text, "H", 0x400, window.data(), 0);
    EXPECT_EQ(std::strlen(text), LINE_LENGTH);

    BuildViewText(text, "H", 0x400, window.data(), VIEW_BYTES);
    ASSERT_EQ(std::strlen(text), 65 * LINE_LENGTH);
    EXPECT_EQ(std::string(text + 64 * LINE_LENGTH, 10), " 000007F0 ");
    EXPECT_EQ(std::string(text + 65 * LINE_LENGTH - 2), "\r\n");
}

} // namespace
