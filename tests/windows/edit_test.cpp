// Editing bytes in place on the real main window with real files: clicks
// reported by the pointer notices and the view's release, the caret placed
// in the real view, the two edit commands, and what reaches the file.
#include "ui/edit.h"

#include "document/document.h"
#include "dump/dump_text.h"
#include "dump/render.h"
#include "resources/resource.h"
#include "tests/windows/support.h"

#include <optional>

namespace {

const std::string HEX_TITLE = "16\x90\x69\x90\x94\x82\xC5\x95\xD2\x8F\x57"; // 16進数で編集
const std::string TEXT_TITLE = "\x95\xB6\x8E\x9A\x97\xF1\x82\xC5\x95\xD2\x8F\x57"; // 文字列で編集

// What one input box showed.
struct Shown {
    std::string title, label, field;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& shown)
{
    return out << "{" << shown.title << " | " << shown.label << " | " << shown.field << "}";
}

// How the test answers a box: Cancel, OK on the text as shown, or OK on a
// text of its own.
struct Answer {
    bool ok;
    std::optional<std::string> text;
};
const Answer CANCEL = {false, std::nullopt};
const Answer AS_SHOWN = {true, std::nullopt};
Answer Typed(std::string text)
{
    return {true, std::move(text)};
}

// The offsets at which two files differ, and the first offset beyond the
// shorter one when their lengths differ: a readable comparison of files.
std::vector<size_t> Differences(const std::vector<uint8_t>& actual, const std::vector<uint8_t>& expected)
{
    std::vector<size_t> offsets;
    const size_t common = std::min(actual.size(), expected.size());
    for (size_t i = 0; i < common; ++i) {
        if (actual[i] != expected[i])
            offsets.push_back(i);
    }
    if (actual.size() != expected.size())
        offsets.push_back(common);
    return offsets;
}

class EditTest : public MainWindowTest {
protected:
    // Opens a file of bytes and shows it from top.
    std::string Open(const std::vector<uint8_t>& bytes, uint32_t top = 0)
    {
        const std::string path = folder_.Write("edit" + std::to_string(files_++) + ".bin", bytes);
        OpenDocument(window_, path.c_str());
        document.topOffset = top;
        ReloadWindow();
        RenderView(window_);
        return path;
    }

    HWND View() const { return GetDlgItem(window_, IDC_VIEW); }

    // Places the view's selection on text line `line`, from column `from` to
    // column `to`, both counted as the control counts them.
    void Select(int line, int from, int to)
    {
        const LRESULT start = SendMessageA(View(), EM_LINEINDEX, line, 0);
        SendMessageA(View(), EM_SETSEL, start + from, start + to);
    }

    // A pointer notice of the main window, as the platform sends it.
    void Notice(HWND pointed, UINT message)
    {
        SendMessageA(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(pointed),
                     MAKELPARAM(HTCLIENT, message));
    }

    // A click on the view: the press notice, the caret placed as the view
    // places it for the press, then the movement notice after the release.
    void Click(int line, int column)
    {
        Notice(View(), WM_LBUTTONDOWN);
        Select(line, column, column);
        Notice(View(), WM_MOUSEMOVE);
    }

    // Runs action, answering every box it opens; returns what they showed.
    // While a box is open the view's first character is changed to '#', so
    // that rendered_ tells whether the view was rendered after the box; when
    // it was not, the dump is put back.
    std::vector<Shown> WithBoxes(const Answer& answer, const std::function<void()>& action)
    {
        std::vector<Shown> shown;
        auto step = [&](HWND box) {
            shown.push_back({WindowText(box), WindowText(GetDlgItem(box, IDC_PROMPT)),
                             WindowText(GetDlgItem(box, IDC_INPUT))});
            std::string view = ViewText(window_);
            if (!view.empty()) {
                view[0] = '#';
                SetDlgItemTextA(window_, IDC_VIEW, view.c_str());
            }
            if (answer.text)
                SetDlgItemTextA(box, IDC_INPUT, answer.text->c_str());
            PostMessageA(box, WM_COMMAND, answer.ok ? IDC_OK : IDC_CANCEL, 0);
        };
        BoxScript script({step, step, step});
        action();
        rendered_ = ViewText(window_).substr(0, 1) != "#";
        if (!rendered_)
            RenderView(window_);
        return shown;
    }

    std::vector<uint8_t> Window(uint32_t index, uint32_t count) const
    {
        return {document.windowBuffer + index, document.windowBuffer + index + count};
    }

    TempFolder folder_;
    int files_ = 0;
    bool rendered_ = false;
};

TEST_F(EditTest, ClickOpensTheBoxForTheByteUnderTheCaret)
{
    struct Case {
        const char* name;
        int line, from, to;
        std::vector<Shown> shown;
    };
    const Case cases[] = {
        {"hex zone, position 251", 3, 14, 14, {{HEX_TITLE, "00001021", "21 22 23 24 25 26 27 28"}}},
        {"blank before the first pair", 2, 10, 10, {{HEX_TITLE, "00001010", "10 11 12 13 14 15 16 17"}}},
        {"between the last digits", 5, 57, 57, {{HEX_TITLE, "0000104F", "4F 50 51 52 53 54 55 56"}}},
        {"character zone, position 139", 1, 60, 60, {{TEXT_TITLE, "00001000", "................"}}},
        {"character zone, last cell", 5, 75, 75, {{TEXT_TITLE, "0000104F", "OPQRSTUVWXYZ[\\]^"}}},
        {"last line of the view", 64, 11, 11, {{HEX_TITLE, "000013F0", "F0 F1 F2 F3 F4 F5 F6 F7"}}},
        {"right after the last pair", 2, 58, 58, {}},
        {"after the last cell", 2, 76, 76, {}},
        {"offset digits", 2, 4, 4, {}},
        {"header line", 0, 14, 14, {}},
        {"selection", 2, 11, 13, {}},
    };
    Open(CountingBytes(0x2000), 0x1000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Shown> shown = WithBoxes(CANCEL, [&] {
            Notice(View(), WM_LBUTTONDOWN);
            Select(c.line, c.from, c.to);
            Notice(View(), WM_MOUSEMOVE);
        });
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(pressedWindow, nullptr);
    }
    const std::vector<uint8_t> bytes = CountingBytes(0x2000);
    EXPECT_EQ(Window(0, 0x1000), std::vector<uint8_t>(bytes.begin() + 0x1000, bytes.end()));
    EXPECT_FALSE(document.modified);
}

TEST_F(EditTest, DoubleByteCharactersDoNotShiftTheByteUnderTheCaret)
{
    // "日本語" and "カナ" in code page 932 on the first dump line, so that
    // the view counts fewer characters than bytes on it (and on the header).
    std::vector<uint8_t> bytes = CountingBytes(64);
    const uint8_t ja[] = {0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA, 'a', 'b', 0x83, 0x4A, 0x83, 0x69, 'c'};
    std::copy(std::begin(ja), std::end(ja), bytes.begin());
    Open(bytes);
    ASSERT_EQ(SendMessageA(View(), EM_LINELENGTH, 0, 0), 73) << "the view counts characters";

    struct Case {
        const char* name;
        int line, column; // as the view counts
        Shown shown;
    };
    const Case cases[] = {
        {"before 日", 1, 60, {TEXT_TITLE, "00000000", "\x93\xFA\x96\x7B\x8C\xEA" "ab\x83\x4A\x83\x69" "c..."}},
        {"after 日", 1, 61, {TEXT_TITLE, "00000002", "\x96\x7B\x8C\xEA" "ab\x83\x4A\x83\x69" "c....."}},
        {"after 語", 1, 63, {TEXT_TITLE, "00000006", "ab\x83\x4A\x83\x69" "c........."}},
        {"after ナ", 1, 67, {TEXT_TITLE, "0000000C", "c..............."}},
        {"last cell", 1, 70, {TEXT_TITLE, "0000000F", "................"}},
        {"hex zone of the same line", 1, 14, {HEX_TITLE, "00000001", "FA 96 7B 8C EA 61 62 83"}},
        {"hex zone of the next line", 2, 14, {HEX_TITLE, "00000011", "11 12 13 14 15 16 17 18"}},
        {"character zone of the next line", 2, 62, {TEXT_TITLE, "00000012", ".............. !"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WithBoxes(CANCEL, [&] { Click(c.line, c.column); }), std::vector<Shown>{c.shown});
    }
    // After the last cell: nothing.
    EXPECT_TRUE(WithBoxes(CANCEL, [&] { Click(1, 71); }).empty());
}

// Keys reach the view, so the user can change its text; its positions then
// no longer match the dump. A click on such a view puts the dump back and
// opens nothing; the next click edits the byte under the caret again.
TEST_F(EditTest, ClickAfterTypingIntoTheViewRestoresTheDumpAndEditsNothing)
{
    struct Case {
        const char* name;
        int line, column;   // where the caret is put before typing
        std::string typed;  // characters, as the keyboard sends them
    };
    const Case cases[] = {
        {"letters among the offset digits", 2, 4, "ab"},
        {"a backspace", 2, 12, "\b"},
        {"Enter on the line before", 1, 70, "\r"},
        {"a blank at the start of the line", 2, 0, " "},
    };
    Open(CountingBytes(0x40));
    const std::string dump = ViewText(window_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Select(c.line, c.column, c.column);
        for (char typed : c.typed)
            SendMessageA(View(), WM_CHAR, static_cast<unsigned char>(typed), 1);
        ASSERT_NE(ViewText(window_), dump) << "the typing changed nothing";
        // Where the caret falls on byte 0x12 of the typed text, or near it.
        EXPECT_TRUE(WithBoxes(CANCEL, [&] { Click(2, 16); }).empty());
        EXPECT_EQ(ViewText(window_), dump);
        EXPECT_EQ(WithBoxes(CANCEL, [&] { Click(2, 14); }),
                  (std::vector<Shown>{{HEX_TITLE, "00000011", "11 12 13 14 15 16 17 18"}}));
    }
    EXPECT_FALSE(document.modified);
}

// Keys that leave the view's text as the dump (the control may still note
// them as a change) do not swallow the next click: it edits at once.
TEST_F(EditTest, ClickAfterKeysThatChangedNothingEditsAtOnce)
{
    struct Case {
        const char* name;
        std::function<void(HWND view)> keys;
    };
    const Case cases[] = {
        {"the control's change flag set alone", [](HWND view) { SendMessageA(view, EM_SETMODIFY, TRUE, 0); }},
        {"a backspace at the start of the text",
         [](HWND view) {
             SendMessageA(view, EM_SETSEL, 0, 0);
             SendMessageA(view, WM_CHAR, '\b', 1);
         }},
        {"a letter that the view refuses: its text holds more lines than it shows",
         [](HWND view) {
             SendMessageA(view, EM_SETSEL, LINE_LENGTH, LINE_LENGTH);
             SendMessageA(view, WM_CHAR, 'x', 1);
         }},
    };
    // 64 dump lines, more than the view shows; bytes 80 to FF hold sequences
    // that are no character of the code page.
    Open(CountingBytes(0x1000));
    const std::string dump = ViewText(window_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.keys(View());
        ASSERT_EQ(ViewText(window_), dump);
        const bool flagged = SendMessageA(View(), EM_GETMODIFY, 0, 0) != 0;
        EXPECT_EQ(WithBoxes(CANCEL, [&] { Click(2, 14); }),
                  (std::vector<Shown>{{HEX_TITLE, "00000011", "11 12 13 14 15 16 17 18"}}))
            << "the control's change flag was " << flagged;
    }
}

TEST_F(EditTest, AnswersGoStraightIntoTheWindow)
{
    struct Case {
        const char* name;
        int line, column;
        Answer answer;
        uint32_t index;                // first byte of the window that may change
        std::vector<uint8_t> after;    // the bytes from there on after the answer
        int modified;                  // also: rendered again
    };
    // Line 2 shows the bytes 0x1010.., line 3 the bytes 0x1020..
    const Case cases[] = {
        {"ten pairs change ten bytes", 3, 14, Typed("A0 A1 A2 A3 A4 A5 A6 A7 A8 A9"), 0x21,
         {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0x2B}, 1},
        {"pairs without blanks, a lone digit", 3, 14, Typed("a0B1c"), 0x21, {0xA0, 0xB1, 0x0C, 0x24}, 1},
        {"fewer pairs change fewer bytes", 3, 14, Typed("EE"), 0x21, {0xEE, 0x22}, 1},
        {"hex box as shown writes the same", 3, 14, AS_SHOWN, 0x21, {0x21, 0x22}, 1},
        {"empty answer", 3, 14, Typed(""), 0x21, {0x21, 0x22}, 0},
        {"answer without a hex digit", 3, 14, Typed("  xyz"), 0x21, {0x21, 0x22}, 0},
        {"Cancel", 3, 14, CANCEL, 0x21, {0x21, 0x22}, 0},
        {"text into the character zone", 4, 63, Typed("Zz"), 0x33, {'Z', 'z', 0x35}, 1},
        {"text box as shown keeps the bytes below 0x20 shown as dots", 2, 60, AS_SHOWN, 0x10,
         {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F}, 1},
        {"text box: one cell typed over", 2, 60, Typed("..Q............."), 0x10,
         {0x10, 0x11, 'Q', 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F}, 1},
        // 80, the pairs 81 82 .. 8D 8E, and the lead byte 8F without its
        // trail byte 90: the box hands several of them back as others.
        {"text box as shown keeps bytes the box cannot show", 9, 60, AS_SHOWN, 0x80,
         {0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E, 0x8F, 0x90}, 1},
        {"text longer than shown overwrites the bytes after", 5, 75, Typed(std::string(20, '#')), 0x4F,
         std::vector<uint8_t>(20, '#'), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open(CountingBytes(0x2000), 0x1000);
        const std::vector<Shown> shown = WithBoxes(c.answer, [&] { Click(c.line, c.column); });
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(Window(c.index, static_cast<uint32_t>(c.after.size())), c.after);
        std::vector<uint8_t> before = CountingBytes(0x2000);
        before.erase(before.begin(), before.begin() + 0x1000);
        for (uint32_t i = 0; i < c.after.size(); ++i)
            before[c.index + i] = c.after[i];
        EXPECT_EQ(Window(0, 0x1000), before) << "bytes outside the answer changed";
        EXPECT_EQ(document.modified, c.modified);
        EXPECT_EQ(rendered_, c.modified == 1);
        EXPECT_EQ(document.validCount, 0x1000u);
    }
}

// A lead byte without its trail byte in the last cell shown, and a byte
// below 0x20 after it that the box did not show: the box hands the lead byte
// back as another character of two bytes, and still no byte after the shown
// ones may change.
TEST_F(EditTest, TextBoxChangesNoByteItDidNotShow)
{
    std::vector<uint8_t> bytes(0x40);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>('A' + i % 26);
    bytes[2] = 0x01;
    bytes[7] = 0x8F; // the last of the 8 bytes that the text command shows
    bytes[8] = 0x05;
    bytes[0x11] = 0x01;
    bytes[0x1F] = 0x8F; // the last of the 16 bytes that a click on 0x10 shows
    bytes[0x20] = 0x05;
    const std::string box8F = "\x81\x45"; // what the box shows for 8F alone
    struct Case {
        const char* name;
        bool click;      // on the first cell of the second line, or the text command
        Answer answer;
        std::vector<std::pair<size_t, uint8_t>> changes;
    };
    const Case cases[] = {
        {"text command, OK as shown", false, AS_SHOWN, {}},
        {"text command, first cell typed over", false, Typed("ZB.DEFG" + box8F), {{0, 'Z'}}},
        {"text command, a cell deleted", false, Typed("AB.DEF" + box8F), {{6, 0x8F}}},
        {"text command, a cell added", false, Typed("AB.DEFG" + box8F + "!"), {{8, '!'}}},
        {"text command, a dot typed over a letter", false, Typed("AB..EFG" + box8F), {{3, 0x2E}}},
        {"click, OK as shown", true, AS_SHOWN, {}},
        {"click, last cell typed over", true, Typed("Q.STUVWXYZABCDE?"), {{0x1F, '?'}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Open(bytes);
        const std::vector<Shown> shown = WithBoxes(c.answer, [&] {
            if (c.click)
                Click(2, 60);
            else
                SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_EDIT_TEXT, 0), 0);
        });
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].field, c.click ? "Q.STUVWXYZABCDE" + box8F : "AB.DEFG" + box8F);
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_SAVE, 0), 0);
        std::vector<uint8_t> expected = bytes;
        for (const auto& [offset, value] : c.changes)
            expected[offset] = value;
        const std::vector<uint8_t> onDisk = ReadWholeFile(path);
        EXPECT_EQ(Differences(onDisk, expected), std::vector<size_t>{})
            << "bytes 6 to 9 on disk: " << std::hex << int(onDisk[6]) << " " << int(onDisk[7]) << " "
            << int(onDisk[8]) << " " << int(onDisk[9]) << ", 0x1F and 0x20: " << int(onDisk[0x1F]) << " "
            << int(onDisk[0x20]);
    }
}

TEST_F(EditTest, PartialLastLineNeverGrowsTheFile)
{
    const std::string path = Open(CountingBytes(0x1003), 0x1000);
    // Five pairs at the first byte: the box showed three, three are written.
    EXPECT_EQ(WithBoxes(Typed("AA BB CC DD EE"), [&] { Click(1, 11); }),
              (std::vector<Shown>{{HEX_TITLE, "00001000", "00 01 02"}}));
    EXPECT_EQ(Window(0, 3), (std::vector<uint8_t>{0xAA, 0xBB, 0xCC}));
    // The window still holds bytes 3 and 4 of the first read at offset 0
    // after the bytes read at 0x1000: they are not file data and stay.
    EXPECT_EQ(Window(3, 2), (std::vector<uint8_t>{0x03, 0x04}));
    EXPECT_EQ(WithBoxes(Typed("0123456789"), [&] { Click(1, 61); }),
              (std::vector<Shown>{{TEXT_TITLE, "00001001", "\xBB\xCC"}}));
    // The blank cells of byte 3 and of the character zone open nothing.
    for (int column : {20, 21, 63, 70})
        EXPECT_TRUE(WithBoxes(Typed("FF"), [&] { Click(1, column); }).empty()) << column;

    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_SAVE, 0), 0);
    std::vector<uint8_t> expected = CountingBytes(0x1003);
    expected[0x1000] = 0xAA;
    expected[0x1001] = '0';
    expected[0x1002] = '1';
    EXPECT_EQ(Differences(ReadWholeFile(path), expected), std::vector<size_t>{});
}

TEST_F(EditTest, EditThenSaveWritesExactlyTheEditedBytes)
{
    const std::string path = Open(CountingBytes(0x3000), 0x1000);
    WithBoxes(Typed("DE AD"), [&] { Click(10, 38); });    // byte 9 of line 0x1090
    WithBoxes(Typed("VUKO"), [&] { Click(5, 72); });      // cell 12 of line 0x1040
    WithBoxes(Typed("01 02"), [&] { SendMessageA(window_, WM_COMMAND, CMD_EDIT_HEX, 0); });
    ASSERT_TRUE(document.modified);
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_SAVE, 0), 0);
    EXPECT_FALSE(document.modified);

    std::vector<uint8_t> expected = CountingBytes(0x3000);
    expected[0x1099] = 0xDE;
    expected[0x109A] = 0xAD;
    std::copy_n("VUKO", 4, expected.begin() + 0x104C);
    expected[0x1000] = 0x01;
    expected[0x1001] = 0x02;
    EXPECT_EQ(Differences(ReadWholeFile(path), expected), std::vector<size_t>{});
}

// A character typed into the box reaches the program as a character, not
// as bytes: it is stored as its bytes in code page 932 whatever the
// system's code page is (the program's manifest asks for 932), and the
// save writes those bytes.
TEST_F(EditTest, TypedDoubleByteCharacterIsStoredInCodePage932)
{
    const std::string path = Open(CountingBytes(16));
    BoxScript script({[](HWND box) {
        SetDlgItemTextW(box, IDC_INPUT, L"\u30A2z"); // アz
        PostMessageA(box, WM_COMMAND, IDC_OK, 0);
    }});
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_EDIT_TEXT, 0), 0);
    EXPECT_EQ(script.stepsRun(), 1);
    const std::vector<uint8_t> expected = {0x83, 0x41, 'z', 0x03};
    EXPECT_EQ(std::vector<uint8_t>(document.windowBuffer, document.windowBuffer + 4), expected)
        << "the program's code page is " << GetACP();
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_SAVE, 0), 0);
    CloseDocument();
    const std::vector<uint8_t> onDisk = ReadWholeFile(path);
    EXPECT_EQ(std::vector<uint8_t>(onDisk.begin(), onDisk.begin() + 4), expected);
}

TEST_F(EditTest, EditCommandsShowEightBytesAtTheTop)
{
    struct Case {
        UINT command;
        Shown shown;
        Answer answer;
        std::vector<uint8_t> after;
    };
    const Case cases[] = {
        {CMD_EDIT_HEX, {HEX_TITLE, "00001040", "40 41 42 43 44 45 46 47"},
         Typed("11 22 33 44 55 66 77 88 99"), {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0x49}},
        {CMD_EDIT_TEXT, {TEXT_TITLE, "00001040", "@ABCDEFG"}, Typed("0123456789"),
         {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 0x4A}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Open(CountingBytes(0x2000), 0x1040);
        EXPECT_EQ(WithBoxes(c.answer, [&] { SendMessageA(window_, WM_COMMAND, c.command, 0); }),
                  std::vector<Shown>{c.shown});
        EXPECT_EQ(Window(0, static_cast<uint32_t>(c.after.size())), c.after);
        EXPECT_TRUE(document.modified);
    }
    // Near the end the answer stops at the last byte of the file.
    Open(CountingBytes(0x1003), 0x1000);
    EXPECT_EQ(WithBoxes(Typed("abcdefgh"), [&] { SendMessageA(window_, WM_COMMAND, CMD_EDIT_TEXT, 0); }),
              (std::vector<Shown>{{TEXT_TITLE, "00001000", "..."}}));
    EXPECT_EQ(Window(0, 3), (std::vector<uint8_t>{'a', 'b', 'c'}));
}

// The box runs a message loop: when another file is opened in it (even one
// that gets the same handle value back), or the view moves, the answer is
// stored nowhere, and nothing is left to save into the other file.
TEST_F(EditTest, AnswerAfterTheWindowChangedUnderTheBoxIsStoredNowhere)
{
    struct Case {
        const char* name;
        bool drop; // another file dropped, or one line scrolled
    };
    for (const Case& c : {Case{"another file dropped", true}, Case{"one line scrolled", false}}) {
        SCOPED_TRACE(c.name);
        const std::string first = Open(CountingBytes(0x100));
        const std::string other = folder_.Write("other" + std::to_string(files_++) + ".bin", CountingBytes(0x100));
        BoxScript script({[&](HWND box) {
            if (c.drop)
                SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({other})), 0);
            else
                SendMessageA(window_, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
            SetDlgItemTextA(box, IDC_INPUT, "EE");
            PostMessageA(box, WM_COMMAND, IDC_OK, 0);
        }});
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_EDIT_HEX, 0), 0);
        ASSERT_EQ(script.stepsRun(), 1);
        EXPECT_FALSE(document.modified);
        std::vector<uint8_t> window = CountingBytes(0x100);
        window.erase(window.begin(), window.begin() + document.topOffset);
        EXPECT_EQ(Window(0, static_cast<uint32_t>(window.size())), window);
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_SAVE, 0), 0);
        ResetDocument();
        EXPECT_EQ(ReadWholeFile(first), CountingBytes(0x100));
        EXPECT_EQ(ReadWholeFile(other), CountingBytes(0x100));
    }
}

TEST_F(EditTest, NothingToEditWithoutAnOpenFile)
{
    struct Case {
        const char* name;
        std::function<void()> setUp;
    };
    const Case cases[] = {
        {"no file ever opened", [] {}},
        {"after a failed open, with the old dump still shown",
         [this] {
             Open(CountingBytes(0x100));
             OpenDocument(window_, folder_.File("missing.bin").c_str());
         }},
        {"an empty file", [this] { Open({}); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.setUp();
        if (ViewText(window_).empty()) // something to click on
            SetDlgItemTextA(window_, IDC_VIEW, std::string(3 * LINE_LENGTH, ' ').c_str());
        const std::vector<Shown> shown = WithBoxes(Typed("55"), [&] {
            Click(1, 11);
            Click(1, 60);
            SendMessageA(window_, WM_COMMAND, CMD_EDIT_HEX, 0);
            SendMessageA(window_, WM_COMMAND, CMD_EDIT_TEXT, 0);
        });
        EXPECT_TRUE(shown.empty());
        EXPECT_FALSE(document.modified);
    }
}

TEST_F(EditTest, OneClickEditsAtMostOnceWhicheverNoticeEndsIt)
{
    // A press and whatever ends it: the movement notice after the release
    // (which does not always come), the release of the button by the view.
    enum Event { PRESS_VIEW, PRESS_SCROLL, MOVE_VIEW, MOVE_SCROLL, RELEASE_IN, RELEASE_OUT };
    struct Case {
        const char* name;
        std::vector<Event> events;
        size_t boxes;
    };
    const Case cases[] = {
        {"press, movement", {PRESS_VIEW, MOVE_VIEW}, 1},
        {"press, release, no movement notice", {PRESS_VIEW, RELEASE_IN}, 1},
        {"press, release, movement", {PRESS_VIEW, RELEASE_IN, MOVE_VIEW}, 1},
        {"press, movement, release", {PRESS_VIEW, MOVE_VIEW, RELEASE_IN}, 1},
        {"two clicks", {PRESS_VIEW, RELEASE_IN, MOVE_VIEW, PRESS_VIEW, MOVE_VIEW}, 2},
        {"released outside the view, then movement over it", {PRESS_VIEW, RELEASE_OUT, MOVE_VIEW}, 0},
        {"first movement over the scroll bar", {PRESS_VIEW, MOVE_SCROLL, MOVE_VIEW, RELEASE_IN}, 0},
        {"press on the scroll bar, movement over the view", {PRESS_SCROLL, MOVE_VIEW}, 0},
        {"press on the scroll bar, release on the view", {PRESS_SCROLL, RELEASE_IN}, 0},
        {"movement and release without a press", {MOVE_VIEW, RELEASE_IN}, 0},
    };
    Open(CountingBytes(0x100));
    HWND scroll = GetDlgItem(window_, IDC_SCROLL);
    RECT client;
    GetClientRect(View(), &client);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Shown> shown = WithBoxes(CANCEL, [&] {
            for (Event event : c.events) {
                switch (event) {
                case PRESS_VIEW:
                    Notice(View(), WM_LBUTTONDOWN);
                    Select(2, 14, 14);
                    break;
                case PRESS_SCROLL: Notice(scroll, WM_LBUTTONDOWN); break;
                case MOVE_VIEW: Notice(View(), WM_MOUSEMOVE); break;
                case MOVE_SCROLL: Notice(scroll, WM_MOUSEMOVE); break;
                case RELEASE_IN:
                    SendMessageA(View(), WM_LBUTTONUP, 0, MAKELPARAM(client.right / 2, client.bottom / 2));
                    break;
                case RELEASE_OUT:
                    SendMessageA(View(), WM_LBUTTONUP, 0, MAKELPARAM(client.right + 5, client.bottom / 2));
                    break;
                }
            }
        });
        EXPECT_EQ(shown.size(), c.boxes);
        for (const Shown& box : shown)
            EXPECT_EQ(box.label, "00000011");
        EXPECT_EQ(pressedWindow, nullptr);
    }
}

TEST_F(EditTest, NoticesWhileTheBoxIsOpenStartNoSecondEdit)
{
    Open(CountingBytes(0x100));
    RECT client;
    GetClientRect(View(), &client);
    auto cancel = [](HWND box) { PostMessageA(box, WM_COMMAND, IDC_CANCEL, 0); };
    BoxScript script({
        [&](HWND box) {
            // What would end the same click a second time.
            Notice(View(), WM_MOUSEMOVE);
            SendMessageA(View(), WM_LBUTTONUP, 0, MAKELPARAM(client.right / 2, client.bottom / 2));
            cancel(box);
        },
        cancel,
    });
    Click(2, 14);
    EXPECT_EQ(script.stepsRun(), 1);
}

} // namespace
