// Commands handled inside a running search: the search's pump dispatches
// everything, so each of them runs nested in it. Nothing may crash, the
// search must end with the message that its flag decides, and the file must
// hold exactly what was saved.
#include "search/search.h"

#include "document/document.h"
#include "dump/dump_text.h"
#include "dump/render.h"
#include "resources/resource.h"
#include "tests/windows/support.h"

#include <cstring>

namespace {

class NestedTest : public MainWindowTest {
protected:
    static constexpr uint64_t BIG = 0x40000000; // 1 GiB of nothing

    void SetUp() override
    {
        MainWindowTest::SetUp();
        big_ = MakeSparseFile(folder_.File("big.bin"), BIG);
        ASSERT_NE(big_, "");
        OpenDocument(window_, big_.c_str());
        ASSERT_NE(document.fileHandle, nullptr);
        std::memcpy(SearchPattern.patternBytes, "absent", 6);
        SearchPattern.patternLength = 6;
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        DeleteFileA(big_.c_str());
    }
    void Post(UINT command) { PostMessageA(window_, WM_COMMAND, MAKEWPARAM(command, 0), 0); }

    // Runs the search with the given steps answering the boxes that come,
    // and returns the text of the last box (the search's own message).
    std::string Search(std::vector<BoxScript::Step> steps)
    {
        std::string last;
        steps.push_back([&last](HWND box) {
            last = WindowText(GetDlgItem(box, MESSAGE_BOX_TEXT));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        const int expected = static_cast<int>(steps.size());
        BoxScript script(std::move(steps));
        RunSearch(window_);
        EXPECT_EQ(script.stepsRun(), expected);
        EXPECT_FALSE(searchActive);
        EXPECT_TRUE(IsWindow(window_));
        return last;
    }
    static BoxScript::Step Type(const std::string& text)
    {
        return [text](HWND box) {
            SetDlgItemTextA(box, IDC_INPUT, text.c_str());
            PostMessageA(box, WM_COMMAND, IDC_OK, 0);
        };
    }

    const std::string ABORTED = Ansi(L"中断しました");
    const std::string NOT_FOUND = Ansi(L"見つかりません");
    TempFolder folder_;
    std::string big_;
};

TEST_F(NestedTest, DropOfASmallFileEndsTheScanAtItsEnd)
{
    // The search goes on at its own position, which lies past the end of
    // the new file: the scan ends there, as not found.
    const std::string small = folder_.Write("small.bin", CountingBytes(0x100));
    PostMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({small})), 0);
    EXPECT_EQ(Search({}), NOT_FOUND);
    EXPECT_EQ(document.fileSize, 0x100u);
    EXPECT_EQ(WindowText(window_), "small.bin - VUKO");
    EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 10), " 00000000 ");
}

TEST_F(NestedTest, OpenThroughTheDialogThenAbort)
{
    const std::string other = MakeSparseFile(folder_.File("other.bin"), BIG);
    Post(CMD_OPEN);
    Post(CMD_FIND_ABORT);
    const std::string message = Search({[&](HWND box) {
        SetDlgItemTextA(box, 0x47C, other.c_str());
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }});
    EXPECT_EQ(message, ABORTED);
    EXPECT_EQ(WindowText(window_), "other.bin - VUKO");
    CloseDocument();
    DeleteFileA(other.c_str());
}

TEST_F(NestedTest, JumpThenAbortRendersAtTheNewLine)
{
    Post(CMD_JUMP);
    Post(CMD_FIND_ABORT);
    EXPECT_EQ(Search({Type("12345")}), ABORTED);
    EXPECT_EQ(document.topOffset, 0x12340u);
    EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 10), " 00012340 ");
}

TEST_F(NestedTest, SaveWritesTheWindowWhereItWasRead)
{
    document.topOffset = 0x3FF00000;
    ReloadWindow();
    RenderView(window_);
    // An edit made in the search's pump, then the save command and the
    // abort.
    Post(CMD_EDIT_HEX);
    EXPECT_EQ(Search({[this](HWND box) {
                  SetDlgItemTextA(box, IDC_INPUT, "00 00 00 00 00 5A");
                  PostMessageA(box, WM_COMMAND, IDC_OK, 0);
                  Post(CMD_SAVE);
                  Post(CMD_FIND_ABORT);
              }}),
              ABORTED);
    CloseDocument();
    EXPECT_EQ(FileSize64(big_), BIG);
    std::vector<uint8_t> expected(16, 0);
    expected[5] = 0x5A;
    EXPECT_EQ(ReadAt(big_, 0x3FF00000, 16), expected);
}

// An edit made while the search runs is asked about before the match moves
// the view: No drops it and moves, Yes saves it and moves, a failed save
// keeps it on screen where the search started.
TEST_F(NestedTest, EditDuringTheSearchIsAskedAboutBeforeTheMatchMoves)
{
    CloseDocument();
    ASSERT_TRUE(WriteAt(big_, 0x123456, {'V', 'U', 'K', 'O'})); // beyond the first chunk
    std::memcpy(SearchPattern.patternBytes, "VUKO", 4);
    SearchPattern.patternLength = 4;
    const std::string QUESTION = Ansi(L"変更内容を保存しますか?");
    const std::string FAILED = Ansi(L"保存できませんでした");
    struct Case {
        const char* name;
        bool readOnly;
        int answer;
        std::vector<std::string> boxes; // after the edit box
        uint32_t top;
        uint8_t onDisk;
    };
    const Case cases[] = {
        {"No", false, IDNO, {QUESTION}, 0x123450, 0x00},
        {"Yes", false, IDYES, {QUESTION}, 0x123450, 0xEE},
        {"Yes, and the save fails", true, IDYES, {QUESTION, FAILED}, 0, 0x00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenDocument(window_, big_.c_str(), c.readOnly);
        ASSERT_NE(document.fileHandle, nullptr);
        std::vector<std::string> boxes;
        const auto press = [&boxes](int button) {
            return [&boxes, button](HWND box) {
                boxes.push_back(WindowText(GetDlgItem(box, MESSAGE_BOX_TEXT)));
                PostMessageA(box, WM_COMMAND, button, 0);
            };
        };
        Post(CMD_EDIT_HEX); // handled in the search's first pump
        {
            BoxScript script({Type("EE"), press(c.answer), press(IDOK)});
            RunSearch(window_);
            EXPECT_EQ(script.stepsRun(), static_cast<int>(1 + c.boxes.size()));
        }
        EXPECT_EQ(boxes, c.boxes);
        EXPECT_FALSE(searchActive);
        EXPECT_EQ(document.topOffset, c.top);
        const bool kept = c.top == 0;
        EXPECT_EQ(document.modified, kept ? 1 : 0);
        EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 14),
                  kept ? " 00000000  EE " : " 00123450  00 ");
        CloseDocument();
        EXPECT_EQ(ReadAt(big_, 0, 1), std::vector<uint8_t>{c.onDisk});
        ASSERT_TRUE(WriteAt(big_, 0, {0x00}));
    }
}

TEST_F(NestedTest, DecimalPatternChangesWhatTheScanLooksFor)
{
    // 258 is 02 01 00 00; it lies beyond the first chunk.
    CloseDocument();
    ASSERT_TRUE(WriteAt(big_, 0x20005, {0x02, 0x01, 0x00, 0x00}));
    OpenDocument(window_, big_.c_str());

    Post(CMD_ENTER_DECIMAL);
    BoxScript script({Type("258")});
    RunSearch(window_);
    EXPECT_EQ(script.stepsRun(), 1);
    EXPECT_EQ(document.topOffset, 0x20000u); // found: no message
    EXPECT_FALSE(searchActive);
}

TEST_F(NestedTest, NewHexPatternStartsANestedSearchAndTheOuterOneEndsAborted)
{
    Post(CMD_FIND_HEX);
    std::string nested;
    EXPECT_EQ(Search({[this](HWND box) {
                          SetDlgItemTextA(box, IDC_INPUT, "61 62");
                          PostMessageA(box, WM_COMMAND, IDC_OK, 0);
                          // Behind the OK: reaches the nested search's pump.
                          Post(CMD_FIND_ABORT);
                      },
                      [&nested](HWND box) {
                          nested = WindowText(GetDlgItem(box, MESSAGE_BOX_TEXT));
                          PostMessageA(box, WM_COMMAND, IDOK, 0);
                      }}),
              ABORTED);
    EXPECT_EQ(nested, ABORTED);
    EXPECT_EQ(SearchPattern.patternLength, 2u);
}

TEST_F(NestedTest, AHundredFindNextsNestDeepAndEachSearchEndsWithItsMessage)
{
    // Each find-next is handled in the pump of the search before it, so
    // the searches run inside each other, 101 deep; the abort reaches the
    // innermost one. Every search needs its own frame on the stack: a
    // frame that held a chunk would not fit this deep.
    constexpr int NESTED = 100;
    for (int k = 0; k < NESTED; ++k)
        Post(CMD_FIND_NEXT);
    Post(CMD_FIND_ABORT);
    std::vector<std::string> texts;
    std::vector<BoxScript::Step> steps(NESTED, [&texts](HWND box) {
        texts.push_back(WindowText(GetDlgItem(box, MESSAGE_BOX_TEXT)));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(Search(steps), ABORTED);
    EXPECT_EQ(texts, std::vector<std::string>(NESTED, ABORTED));
    EXPECT_EQ(document.topOffset, 0u);
    EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 10), " 00000000 ");
}

TEST_F(NestedTest, SecondCloseRequestEndsTheProgramAndTheSearchQuietly)
{
    // The first request stops the search; the second, handled in the same
    // pump, closes the window. The search then shows nothing and leaves the
    // quit message to the main loop.
    PostMessageA(window_, WM_CLOSE, 0, 0);
    PostMessageA(window_, WM_CLOSE, 0, 0);
    BoxScript script({[](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }});
    RunSearch(window_);
    EXPECT_EQ(script.stepsRun(), 0);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(document.fileHandle, nullptr);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

} // namespace
