// RenderView against the real main window from the DIALOG template.
#include "dump/render.h"

#include "document/document.h"
#include "dump/dump_text.h"
#include "resources/resource.h"
#include "tests/windows/support.h"

namespace {

using RenderTest = MainWindowTest;

// String 20 in code page 932: exactly the 77 columns of the header.
const std::string HEADER_LINE =
    " \x83\x41\x83\x68\x83\x8c\x83\x58  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F  "
    "0123456789ABCDEF \r\n";

TEST_F(RenderTest, ViewShowsTheHeaderAndSixtyFourLinesAndTheThumbFollows)
{
    TempFolder folder;
    OpenDocument(window_, folder.Write("mib.bin", CountingBytes(0x100000)).c_str());
    ASSERT_EQ(document.scrollShift, 6u);
    document.topOffset = 0xFA00;
    ReloadWindow();
    RenderView(window_);

    EXPECT_EQ(GetScrollPos(GetDlgItem(window_, IDC_SCROLL), SB_CTL), 1000);
    const std::string text = ViewText(window_);
    ASSERT_EQ(text.size(), 65 * LINE_LENGTH);
    EXPECT_EQ(text.substr(0, LINE_LENGTH), HEADER_LINE);
    EXPECT_EQ(text.substr(LINE_LENGTH, LINE_LENGTH),
              " 0000FA00  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F  ................ \r\n");
    // Bytes from 0xF0 up do not all survive the control's code-page round
    // trip; the character cells are the pure code's concern.
    EXPECT_EQ(text.substr(64 * LINE_LENGTH, 60),
              " 0000FDF0  F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF  ");
}

// Whether the scroll bar was drawn on: paints its client area in a colour
// that it never uses, and then counts, down its middle, the points that
// still show that colour.
class BarPaint {
public:
    static constexpr COLORREF MARK = RGB(255, 0, 255);
    explicit BarPaint(HWND bar) : bar_(bar)
    {
        GetClientRect(bar_, &area_);
        HDC dc = GetDC(bar_);
        HBRUSH brush = CreateSolidBrush(MARK);
        FillRect(dc, &area_, brush);
        DeleteObject(brush);
        GdiFlush();
        ReleaseDC(bar_, dc);
    }
    int points() const { return (area_.bottom + 3) / 4; }
    int marked() const
    {
        HDC dc = GetDC(bar_);
        int count = 0;
        for (int y = 0; y < area_.bottom; y += 4)
            count += GetPixel(dc, area_.right / 2, y) == MARK;
        ReleaseDC(bar_, dc);
        return count;
    }

private:
    HWND bar_;
    RECT area_;
};

TEST_F(RenderTest, TheBarIsRedrawnWhenTheThumbMovesAndOnlyThen)
{
    TempFolder folder;
    OpenDocument(window_, folder.Write("mib.bin", CountingBytes(0x100000)).c_str());
    ASSERT_EQ(document.scrollShift, 6u); // the thumb moves every fourth line
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    HWND bar = GetDlgItem(window_, IDC_SCROLL);
    struct Step {
        uint32_t top;
        bool moves;
    };
    const Step steps[] = {
        {0x10, false}, {0x30, false}, {0x40, true},   {0x50, false}, {0x7F0, true},
        {0x7C0, false}, {0, true},    {0xFFFF0, true}, {0xFFFC0, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "top " << std::hex << step.top);
        BarPaint paint(bar);
        ASSERT_EQ(paint.marked(), paint.points()); // the colour can be read back
        document.topOffset = step.top;
        ReloadWindow();
        RenderView(window_);
        EXPECT_EQ(GetScrollPos(bar, SB_CTL), static_cast<int>(step.top >> 6));
        EXPECT_EQ(paint.marked(), step.moves ? 0 : paint.points())
            << "points of " << paint.points() << " down the bar that were not drawn on";
    }
}

TEST_F(RenderTest, DoubleByteTextInTheCharacterZoneShowsAsWritten)
{
    TempFolder folder;
    // "日本語" in code page 932, then ASCII.
    const std::vector<uint8_t> bytes = {0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA, 'a', 'b'};
    OpenDocument(window_, folder.Write("ja.bin", bytes).c_str());
    const std::string text = ViewText(window_);
    ASSERT_EQ(text.size(), 2 * LINE_LENGTH);
    EXPECT_EQ(text.substr(LINE_LENGTH + 60, 17), "\x93\xFA\x96\x7B\x8C\xEA" "ab         ");
}

TEST_F(RenderTest, NoDocumentEmptiesTheViewAndLeavesTheThumb)
{
    TempFolder folder;
    OpenDocument(window_, folder.Write("data.bin", CountingBytes(0x1000)).c_str());
    document.topOffset = 0x800;
    ReloadWindow();
    RenderView(window_);
    const int thumb = GetScrollPos(GetDlgItem(window_, IDC_SCROLL), SB_CTL);
    EXPECT_EQ(thumb, 0x800);

    CloseDocument();
    RenderView(window_);
    EXPECT_EQ(ViewText(window_), "");
    EXPECT_EQ(GetScrollPos(GetDlgItem(window_, IDC_SCROLL), SB_CTL), thumb);
}

} // namespace
