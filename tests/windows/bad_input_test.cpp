// Bad input at every entry: long and odd paths in a drop (and, in the end
// to end tests, on the command line),
// answers of the full buffer size (and more) in every prompt, the pattern
// of the full capacity shown again in each prompt, control characters.
// Nothing may overrun a buffer, crash, or write where it should not.
#include "document/document.h"
#include "document/scroll.h"
#include "resources/resource.h"
#include "search/search.h"
#include "tests/windows/support.h"
#include "ui/edit.h"

#include <cstring>

namespace {

class BadInput : public MainWindowTest {
protected:
    // Opens a file of size counting bytes; fails when it did not open.
    testing::AssertionResult Open(size_t size)
    {
        return WriteAndOpen(window_, folder_, "input.bin", CountingBytes(size), path_);
    }
    // Answers the next input box with text; returns what the box showed.
    std::string Answer(const std::string& text, const std::function<void()>& action)
    {
        BoxAnswer answer(IDC_OK, IDC_INPUT, text, IDC_INPUT);
        action();
        EXPECT_TRUE(answer.answered());
        return answer.text();
    }
    std::vector<uint8_t> Pattern()
    {
        return std::vector<uint8_t>(SearchPattern.patternBytes,
                                    SearchPattern.patternBytes + SearchPattern.patternLength);
    }

    TempFolder folder_;
    std::string path_;
};

TEST_F(BadInput, DropOfOverlongAndDoubleByteNames)
{
    // A name of 600 bytes is cut to 511 and names no file; a name whose
    // last character has a 0x5C trail byte opens and keeps it in the title.
    const std::string cp932 = folder_.Write("\x95\x5C\x8E\xA6.bin", {1, 2});
    const std::string overlong = folder_.File(std::string(600, 'n'));
    SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({cp932, overlong})), 0);
    EXPECT_EQ(document.fileHandle, nullptr);
    EXPECT_EQ(WindowText(window_), "VUKO");
    SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({overlong, cp932})), 0);
    ASSERT_NE(document.fileHandle, nullptr);
    EXPECT_EQ(WindowText(window_), "\x95\x5C\x8E\xA6.bin - VUKO");
}

TEST_F(BadInput, PatternAnswersOfTheFullBufferAndMore)
{
    struct Case {
        const char* name;
        void (*prompt)(HWND);
        std::string answer;
        uint32_t length;
    };
    const Case cases[] = {
        {"511 hex digits: 255 pairs and a lone digit", EnterHexPattern, std::string(511, 'A'), 256},
        {"700 hex digits are cut to 511", EnterHexPattern, std::string(700, 'b'), 256},
        {"511 text bytes", EnterTextPattern, std::string(511, 't'), 511},
        {"700 text bytes are cut to 511", EnterTextPattern, std::string(700, 't'), 511},
        {"control characters are bytes of a text", EnterTextPattern, "\x01\x02\t\x7F", 4},
        {"a control character after a pair ends a hex answer", EnterHexPattern, "41\x01" "42", 1},
        {"a control character after a lone digit separates", EnterHexPattern, "1\x01" "2\x02zz", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Answer(c.answer, [&] { c.prompt(window_); });
        EXPECT_EQ(SearchPattern.patternLength, c.length);
    }
    // A 255-digit decimal answer wraps; a 300-character one is cut to 255.
    Answer(std::string(255, '9'), [&] { EnterDecimalPattern(window_); });
    EXPECT_EQ(SearchPattern.patternLength, 4u);
    Answer("-" + std::string(299, '1'), [&] { EnterDecimalPattern(window_); });
    EXPECT_EQ(SearchPattern.patternLength, 4u);
}

TEST_F(BadInput, PatternOfTheFullCapacityShownAgainInEachPrompt)
{
    for (uint32_t i = 0; i < PATTERN_CAPACITY; ++i)
        SearchPattern.patternBytes[i] = static_cast<uint8_t>(0x20 + i % 0x5F);
    SearchPattern.patternLength = PATTERN_CAPACITY;
    BoxAnswer hex(IDC_CANCEL, IDC_INPUT);
    EnterHexPattern(window_);
    EXPECT_EQ(hex.text().size(), 170u * 3 - 1);
    BoxAnswer text(IDC_CANCEL, IDC_INPUT);
    EnterTextPattern(window_);
    EXPECT_EQ(text.text().size(), 511u);
    BoxAnswer decimal(IDC_CANCEL, IDC_INPUT);
    EnterDecimalPattern(window_);
    EXPECT_EQ(decimal.text(), "589439264"); // 20 21 22 23
    EXPECT_EQ(SearchPattern.patternLength, PATTERN_CAPACITY);
}

TEST_F(BadInput, JumpAndEditAnswersOfTheFullBuffer)
{
    ASSERT_TRUE(Open(0x2000));
    Answer(std::string(255, 'F'), [&] { JumpToAddress(window_); }); // the last 8 digits count
    EXPECT_EQ(document.topOffset, 0x1FF0u);
    Answer("1\x01", [&] { JumpToAddress(window_); }); // not a hex number
    EXPECT_EQ(document.topOffset, 0x1FF0u);

    // 255 hex digits store 128 bytes at most, and never past the file.
    Answer(std::string(255, 'C'), [&] { EditHexAtTop(window_); });
    Answer(std::string(255, '\x01'), [&] { EditTextAtTop(window_); });
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_SAVE, 0), 0);
    std::vector<uint8_t> expected = CountingBytes(0x2000);
    std::memset(expected.data() + 0x1FF0, 0x01, 16);
    EXPECT_EQ(ReadWholeFile(path_), expected);

    document.topOffset = 0x1000;
    ReloadWindow();
    Answer(std::string(255, 'C'), [&] { EditHexAtTop(window_); }); // 127 pairs and a lone digit
    EXPECT_EQ(document.windowBuffer[126], 0xCC);
    EXPECT_EQ(document.windowBuffer[127], 0x0C);
    EXPECT_EQ(document.windowBuffer[128], 0x80);
}

} // namespace
