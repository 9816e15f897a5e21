// Scroll-bar requests, the jump and the save question on real files.
#include "document/scroll.h"

#include "document/document.h"
#include "dump/dump_text.h"
#include "dump/render.h"
#include "resources/resource.h"
#include "tests/windows/support.h"

#include <cstring>

namespace {

class ScrollTest : public MainWindowTest {
protected:
    // Opens a file of size counting bytes; fails when it did not open.
    testing::AssertionResult Open(size_t size)
    {
        return WriteAndOpen(window_, folder_, "scroll.bin", CountingBytes(size), path_);
    }
    void Scroll(unsigned code, unsigned position = 0)
    {
        SendMessageA(window_, WM_VSCROLL, MAKEWPARAM(code, position), 0);
    }
    int Thumb() { return GetScrollPos(GetDlgItem(window_, IDC_SCROLL), SB_CTL); }
    // Marks the window and the view, to tell whether a request reloaded or rendered.
    void Mark()
    {
        document.windowBuffer[0] = 0xA5;
        SetDlgItemTextA(window_, IDC_VIEW, "mark");
    }
    bool Untouched() { return document.windowBuffer[0] == 0xA5 && ViewText(window_) == "mark"; }

    TempFolder folder_;
    std::string path_;
};

TEST_F(ScrollTest, SmallFileStepsStopAtTheLastLine)
{
    ASSERT_TRUE(Open(0x1005));
    Scroll(SB_PAGEDOWN);
    EXPECT_EQ(document.topOffset, 0x100u);
    EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 10), " 00000100 ");
    Scroll(SB_THUMBPOSITION, 0xF80);
    Scroll(SB_PAGEDOWN);
    EXPECT_EQ(document.topOffset, 0x1000u);
    const std::string text = ViewText(window_);
    ASSERT_EQ(text.size(), 2 * LINE_LENGTH);
    EXPECT_EQ(text.substr(LINE_LENGTH, 26), " 00001000  00 01 02 03 04 ");
    EXPECT_EQ(Thumb(), 0x1000);

    Mark();
    Scroll(SB_LINEDOWN); // already on the last line
    EXPECT_TRUE(Untouched());
    Scroll(SB_THUMBTRACK, 100);
    EXPECT_EQ(document.topOffset, 0x60u);
    Scroll(SB_TOP);
    EXPECT_EQ(document.topOffset, 0u);
    Scroll(SB_BOTTOM);
    EXPECT_EQ(document.topOffset, 0x1000u);
}

TEST_F(ScrollTest, LineUpAtTheStartReloadsNothing)
{
    ASSERT_TRUE(Open(0x1005));
    Mark();
    Scroll(SB_LINEUP);
    Scroll(SB_PAGEUP);
    Scroll(SB_ENDSCROLL);
    EXPECT_EQ(document.topOffset, 0u);
    EXPECT_TRUE(Untouched());
}

TEST_F(ScrollTest, OneMegabyteThumbPositions)
{
    ASSERT_TRUE(Open(0x100000));
    Scroll(SB_THUMBTRACK, 1000);
    EXPECT_EQ(document.topOffset, 0xFA00u);
    EXPECT_EQ(Thumb(), 1000);
    Scroll(SB_THUMBPOSITION, 16385); // the highest position lies past the end
    EXPECT_EQ(document.topOffset, 0xFFFF0u);
    EXPECT_EQ(document.windowBuffer[0], 0xF0);
    EXPECT_EQ(document.validCount, 16u);
}

TEST_F(ScrollTest, NoDocumentNothingHappens)
{
    document.modified = true;
    BoxAnswer answer(IDYES);
    Scroll(SB_PAGEDOWN);
    JumpToAddress(window_);
    EXPECT_FALSE(answer.answered());
    EXPECT_EQ(document.topOffset, 0u);
}

TEST_F(ScrollTest, JumpTexts)
{
    ASSERT_TRUE(Open(0x1005));
    struct Case {
        const char* text;
        uint32_t expected;
    };
    const Case cases[] = {
        {"1f", 0x10}, {"1F", 0x10}, {"", 0x400}, {"0x10", 0x400}, {"FFFFFF", 0x1000},
        {"100000400", 0x400}, // more than eight digits: the last eight count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        document.topOffset = 0x400;
        ReloadWindow();
        RenderView(window_);
        Mark();
        BoxAnswer answer(IDC_OK, IDC_INPUT, c.text, IDC_INPUT);
        JumpToAddress(window_);
        ASSERT_TRUE(answer.answered());
        EXPECT_EQ(answer.text(), "00000400"); // the box opens on the current offset
        EXPECT_EQ(document.topOffset, c.expected);
        const bool dropped = c.expected == 0x400 && c.text[0] != '1';
        EXPECT_EQ(Untouched(), dropped);
    }
}

TEST_F(ScrollTest, JumpCancelledMovesNothingAndJumpToTheSameLineReloads)
{
    ASSERT_TRUE(Open(0x1005));
    document.topOffset = 0x400;
    Mark();
    {
        BoxAnswer answer(IDC_CANCEL, IDC_INPUT, "10");
        JumpToAddress(window_);
    }
    EXPECT_EQ(document.topOffset, 0x400u);
    EXPECT_TRUE(Untouched());
    BoxAnswer answer(IDC_OK, IDC_INPUT, "40F");
    JumpToAddress(window_);
    EXPECT_EQ(document.topOffset, 0x400u);
    EXPECT_EQ(document.windowBuffer[0], 0x00);
    EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 10), " 00000400 ");
}

TEST_F(ScrollTest, SaveQuestionBeforeAScrollYesWritesNoDropsTheBytes)
{
    ASSERT_TRUE(Open(0x1005));
    EditByte(0, 0x5A);
    {
        BoxAnswer answer(IDNO);
        Scroll(SB_LINEUP); // asks, then moves nothing
        EXPECT_TRUE(answer.answered());
    }
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(document.windowBuffer[0], 0x00); // dropped, although nothing moved
    EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 14), " 00000000  00 ");
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_SAVE, 0), 0);
    EXPECT_EQ(ReadWholeFile(path_)[0], 0x00);

    EditByte(0, 0x5A);
    {
        BoxAnswer answer(IDYES);
        Scroll(SB_LINEDOWN);
        EXPECT_TRUE(answer.answered());
    }
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(document.topOffset, 0x10u);
    EXPECT_EQ(ReadWholeFile(path_)[0], 0x5A);
}

TEST_F(ScrollTest, SaveQuestionBeforeTheJumpBoxStandsWhenTheJumpIsCancelled)
{
    ASSERT_TRUE(Open(0x1005));
    EditByte(3, 0x33);
    BoxScript script({
        [](HWND box) { PostMessageA(box, WM_COMMAND, IDYES, 0); },
        [](HWND box) { PostMessageA(box, WM_COMMAND, IDC_CANCEL, 0); },
    });
    JumpToAddress(window_);
    EXPECT_EQ(script.stepsRun(), 2);
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(ReadWholeFile(path_)[3], 0x33);
}

} // namespace
