// The mouse wheel and presses on the scroll bar, on the real main window
// with real files: wheel messages as the platform delivers them to the
// view, the scroll bar or the main window, and the bar's own tracking of a
// press that asks the save question.
#include "document/document.h"
#include "document/scroll.h"
#include "dump/dump_text.h"
#include "dump/render.h"
#include "resources/resource.h"
#include "tests/windows/linux_side.h"
#include "tests/windows/support.h"

#include <windowsx.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class WheelTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &savedLines_, 0);
        path_ = folder_.Write("wheel.bin", CountingBytes(0x1005));
        OpenDocument(window_, path_.c_str());
        ASSERT_NE(document.fileHandle, nullptr);
    }
    void TearDown() override
    {
        SetLinesPerNotch(savedLines_);
        MainWindowTest::TearDown();
    }
    static void SetLinesPerNotch(UINT lines)
    {
        SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, lines, nullptr, 0);
    }
    HWND Child(int id) const { return GetDlgItem(window_, id); }
    // A wheel message of delta, sent to target as the platform sends it.
    static void Wheel(HWND target, int delta)
    {
        SendMessageA(target, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(10, 10));
    }
    // Points of the scroll bar, in its client coordinates, as a press on it
    // gives them: the middle of its down arrow, of its page area and of its
    // thumb. Shows the main window first, so that the bar can be pressed.
    struct BarPoints {
        LPARAM downArrow, pageArea, thumb;
    };
    testing::AssertionResult ShowBar(BarPoints& points) const
    {
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        HWND bar = Child(IDC_SCROLL);
        RECT client;
        GetClientRect(bar, &client);
        const int arrow = GetSystemMetrics(SM_CYVSCROLL);
        SCROLLBARINFO info = {};
        info.cbSize = sizeof info;
        if (client.bottom <= 4 * arrow || !GetScrollBarInfo(bar, OBJID_CLIENT, &info))
            return testing::AssertionFailure() << "the bar (" << client.bottom << " pixels high) has no room for "
                                               << "its arrows, or tells nothing of its thumb";
        const int middle = client.right / 2;
        points = {MAKELPARAM(middle, client.bottom - arrow / 2), MAKELPARAM(middle, client.bottom / 2),
                  MAKELPARAM(middle, (info.xyThumbTop + info.xyThumbBottom) / 2)};
        return testing::AssertionSuccess();
    }
    // The view's first visible text line: the view never scrolls its text.
    int FirstVisibleLine() const
    {
        return static_cast<int>(SendMessageA(Child(IDC_VIEW), EM_GETFIRSTVISIBLELINE, 0, 0));
    }

    TempFolder folder_;
    std::string path_;
    UINT savedLines_ = 3;
};

TEST_F(WheelTest, NotchesMoveTheTopLineByTheSystemsLines)
{
    struct Case {
        const char* name;
        UINT linesPerNotch;
        int target; // the control that gets the message, or 0 for the main window
        std::vector<int> deltas;
        uint32_t top; // after the messages
    };
    const Case cases[] = {
        {"a notch towards the user over the view", 3, IDC_VIEW, {-120}, 0x30},
        {"over the scroll bar", 3, IDC_SCROLL, {-120}, 0x60},
        {"to the main window", 3, 0, {-120}, 0x90},
        {"two notches back in one message", 3, IDC_VIEW, {240}, 0x30},
        {"past the start gives the start", 3, IDC_VIEW, {120, 120, 120}, 0},
        {"thirds of a notch", 3, IDC_VIEW, {-40, -40, -40, -40}, 0x40},
        {"a turn of direction drops what made no line", 1, IDC_SCROLL, {-100, 100, 20}, 0x30},
        {"one line a notch", 1, IDC_VIEW, {-120, -120}, 0x50},
        {"a page a notch", WHEEL_PAGESCROLL, IDC_VIEW, {-120}, 0x150},
        {"more lines than a page: a page", 40, IDC_SCROLL, {-120, -120}, 0x350},
        {"the setting 0 moves nothing", 0, IDC_VIEW, {-120, 120}, 0x350},
        {"the end stops at the last line", 3, IDC_VIEW, {-120 * 100}, 0x1000},
        {"and a step on stays there", 3, IDC_SCROLL, {-120}, 0x1000},
        {"back from the last line", 3, IDC_VIEW, {120}, 0xFD0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetLinesPerNotch(c.linesPerNotch);
        for (int delta : c.deltas)
            Wheel(c.target == 0 ? window_ : Child(c.target), delta);
        EXPECT_EQ(document.topOffset, c.top);
        char offset[16];
        wsprintfA(offset, " %08X ", c.top);
        EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 10), offset);
        EXPECT_EQ(GetScrollPos(Child(IDC_SCROLL), SB_CTL), static_cast<int>(c.top));
        EXPECT_EQ(FirstVisibleLine(), 0);
    }
}

TEST_F(WheelTest, ANotchAsksTheSaveQuestionOnceAndNothingWithoutAFile)
{
    SetLinesPerNotch(3);
    EditByte(0, 0x5A);
    auto no = [](HWND box) { PostMessageA(box, WM_COMMAND, IDNO, 0); };
    {
        BoxScript script({no, no, no});
        Wheel(Child(IDC_VIEW), -120);
        EXPECT_EQ(script.stepsRun(), 1);
    }
    EXPECT_EQ(document.topOffset, 0x30u);
    EXPECT_EQ(ReadWholeFile(path_)[0], 0x00);

    // At the start a notch back moves nothing, but still asks first.
    Wheel(Child(IDC_VIEW), 120 * 2);
    EXPECT_EQ(document.topOffset, 0u);
    EditByte(1, 0x6B);
    {
        BoxScript script({no, no, no});
        Wheel(Child(IDC_VIEW), 120);
        EXPECT_EQ(script.stepsRun(), 1);
    }
    // No drops the edit at once, although the notch moved nothing.
    EXPECT_EQ(document.windowBuffer[1], 0x01);
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 17), " 00000000  00 01 ");

    ResetDocument();
    document.modified = true;
    BoxScript script({no});
    Wheel(Child(IDC_VIEW), -120);
    EXPECT_EQ(script.stepsRun(), 0);
    EXPECT_EQ(document.topOffset, 0u);
}

// Handles this thread's messages, as the program's loop would, until a
// timer of the test's own has fired. It is set to fall due after the scroll
// bar's first repeat would (200 ms after a press, then every 50 ms), and a
// thread's timers fire in the order they fall due: when it fires, every
// repeat that the bar was still to make before then has been handled,
// however slowly the machine runs.
void HandleMessagesUntilTheBarWouldHaveRepeated()
{
    const UINT_PTR own = SetTimer(nullptr, 0, 1000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == nullptr && message.wParam == own)
            break;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    KillTimer(nullptr, own);
}

// A press on the bar with an edit pending: the bar sends its first request
// while it handles the press, the save question opens and takes the
// release. After the answer the view has moved once, and the bar tracks the
// press no more: it repeats nothing while the program runs on. (Were it still
// tracking inside its own loop, the test releases the button itself once
// the view has moved past the one step, so that it ends and says so.)
TEST_F(WheelTest, PressOnTheBarThatAsksTheSaveQuestionMovesTheViewOnce)
{
    HWND bar = Child(IDC_SCROLL);
    BarPoints points;
    ASSERT_TRUE(ShowBar(points));
    const LPARAM downArrow = points.downArrow;
    const LPARAM pageArea = points.pageArea;

    struct Case {
        const char* name;
        LPARAM at;
        int answer;
        uint32_t top;
    };
    const Case cases[] = {
        {"down arrow, No", downArrow, IDNO, 0x10},
        {"down arrow, Yes", downArrow, IDYES, 0x20},
        {"page area, No", pageArea, IDNO, 0x120},
    };
    static HWND pressedBar;
    static uint32_t onceMoved;
    pressedBar = bar;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditByte(0, 0x5A);
        onceMoved = c.top;
        // Ends a runaway: the release the bar waits for, once it has moved on.
        const UINT_PTR guard = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
            if (document.topOffset != onceMoved && GetCapture() == pressedBar)
                PostMessageA(pressedBar, WM_LBUTTONUP, 0, 0);
        });
        const int answer = c.answer;
        BoxScript script({[answer](HWND box) { PostMessageA(box, WM_COMMAND, answer, 0); }});
        SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, c.at);
        EXPECT_EQ(script.stepsRun(), 1);
        EXPECT_EQ(document.topOffset, c.top);
        // The pointer rests on the bar where it pressed.
        SendMessageA(bar, WM_MOUSEMOVE, 0, c.at);
        HandleMessagesUntilTheBarWouldHaveRepeated();
        KillTimer(nullptr, guard);
        EXPECT_EQ(document.topOffset, c.top) << "the bar went on repeating its request";
        EXPECT_NE(GetCapture(), bar);
    }
    EXPECT_EQ(ReadWholeFile(path_)[0x10], 0x5A); // the Yes saved the line at 0x10
    EXPECT_EQ(ReadWholeFile(path_)[0x20], 0x20);
}

// A press on the bar whose save fails (the file was replaced behind the
// program's back): the question comes once, the failure is reported, and
// the rest of the press, up to the bar's end notice, asks nothing and
// moves nothing. The next press asks again.
TEST_F(WheelTest, PressWhoseSaveFailsAsksOnceAndMovesNothing)
{
    HWND bar = Child(IDC_SCROLL);
    BarPoints points;
    ASSERT_TRUE(ShowBar(points));
    const auto below = [&points](int pixels) {
        return MAKELPARAM(GET_X_LPARAM(points.thumb), GET_Y_LPARAM(points.thumb) + pixels);
    };
    ASSERT_TRUE(ReplaceFromLinux(path_, CountingBytes(0x1005), true));

    struct Case {
        const char* name;
        LPARAM at;
        std::vector<LPARAM> moves; // the pointer dragged while pressed
    };
    const Case cases[] = {
        {"down arrow", points.downArrow, {}},
        {"page area", points.pageArea, {}},
        {"thumb dragged", points.thumb, {below(20), below(60)}},
    };
    static HWND pressedBar;
    pressedBar = bar;
    EditByte(0, 0x5A);
    RenderView(window_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> seen;
        const auto press = [&seen](int button) -> BoxScript::Step {
            return [&seen, button](HWND box) {
                seen.push_back(WindowText(GetDlgItem(box, MESSAGE_BOX_TEXT)));
                PostMessageA(box, WM_COMMAND, button, 0);
            };
        };
        // Yes, the failure's OK; a second question would be answered No and
        // would drop the edit.
        BoxScript script({press(IDYES), press(IDOK), press(IDNO), press(IDOK), press(IDNO), press(IDOK)});
        // Ends a press that the bar would track for ever, once the boxes
        // had their chance.
        const UINT_PTR guard = SetTimer(nullptr, 0, 2000, [](HWND, UINT, UINT_PTR, DWORD) {
            if (GetCapture() == pressedBar)
                PostMessageA(pressedBar, WM_LBUTTONUP, 0, 0);
        });
        for (LPARAM at : c.moves)
            PostMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, at);
        SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, c.at);
        SendMessageA(bar, WM_MOUSEMOVE, 0, c.at);
        HandleMessagesUntilTheBarWouldHaveRepeated();
        KillTimer(nullptr, guard);
        EXPECT_EQ(seen, (std::vector<std::string>{Ansi(L"変更内容を保存しますか?"), Ansi(L"保存できませんでした")}));
        EXPECT_EQ(document.topOffset, 0u);
        EXPECT_TRUE(document.modified);
        EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 14), " 00000000  5A ");
        EXPECT_NE(GetCapture(), bar);
    }
    EXPECT_EQ(ReadWholeFile(path_), CountingBytes(0x1005));
}

// The pixels of the scroll bar as the screen shows them.
std::vector<COLORREF> BarPixels(HWND bar)
{
    RECT client;
    GetClientRect(bar, &client);
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(bar);
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(bar, dc);
    return pixels;
}

// Where two pictures of the bar differ first, for a failing test's log.
std::string FirstDifference(HWND bar, const std::vector<COLORREF>& a, const std::vector<COLORREF>& b)
{
    RECT client;
    GetClientRect(bar, &client);
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] != b[i]) {
            return "differ first at x " + std::to_string(i % client.right) + ", y " +
                   std::to_string(i / client.right);
        }
    }
    return a.size() == b.size() ? "the same" : "of different sizes";
}

// A drag of the thumb moves the view at each step and leaves the drawing
// of the thumb to the bar; once the drag ends, the bar shows its thumb
// just as a bar set to the view's position draws it, whether the drag was
// the bar's own or requests that came without one.
TEST_F(WheelTest, AfterAThumbDragTheBarShowsTheThumbAtTheViewsPosition)
{
    HWND bar = Child(IDC_SCROLL);
    BarPoints points;
    ASSERT_TRUE(ShowBar(points));
    UpdateWindow(window_);
    const auto drawnAt = [bar](uint32_t top) {
        SetScrollPos(bar, SB_CTL, static_cast<int>(top >> document.scrollShift), TRUE);
        UpdateWindow(bar);
        return BarPixels(bar);
    };
    const std::vector<COLORREF> atTop = BarPixels(bar);

    // The bar's own drag: pressed on the thumb, moved 60 pixels down, released.
    const LPARAM below = MAKELPARAM(GET_X_LPARAM(points.thumb), GET_Y_LPARAM(points.thumb) + 60);
    PostMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, below);
    PostMessageA(bar, WM_LBUTTONUP, 0, below);
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, points.thumb);
    HandleMessagesUntilTheBarWouldHaveRepeated();
    const uint32_t dragged = document.topOffset;
    ASSERT_GT(dragged, 0x100u) << "the drag did not move the view";
    char shown[16];
    wsprintfA(shown, " %08X", dragged);
    EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 9), shown);
    const std::vector<COLORREF> afterDrag = BarPixels(bar);
    EXPECT_TRUE(afterDrag != atTop) << "the thumb is still drawn at the top";
    const std::vector<COLORREF> expected = drawnAt(dragged);
    EXPECT_TRUE(afterDrag == expected) << "after the bar's drag, the pictures "
                                       << FirstDifference(bar, afterDrag, expected);

    // Requests of a drag that came without one, then its end notice.
    const uint32_t target = 0x800;
    SendMessageA(window_, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, target >> document.scrollShift),
                 reinterpret_cast<LPARAM>(bar));
    SendMessageA(window_, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(bar));
    UpdateWindow(bar);
    ASSERT_EQ(document.topOffset, target);
    const std::vector<COLORREF> afterRequests = BarPixels(bar);
    const std::vector<COLORREF> expectedThere = drawnAt(target);
    EXPECT_TRUE(afterRequests == expectedThere) << "after the requests, the pictures "
                                                << FirstDifference(bar, afterRequests, expectedThere);
}

// The view shows its text from the header line whatever scrolls the edit
// control's own text: keys that move the caret below the last line shown,
// and the window minimised and restored, which gives the view the focus
// back; and that focus does not select the whole text.
TEST_F(WheelTest, TheViewKeepsItsHeaderInSight)
{
    HWND view = Child(IDC_VIEW);
    ShowWindow(window_, SW_SHOW);
    SetWindowPos(window_, nullptr, 0, 0, 600, 300, SWP_NOMOVE | SWP_NOZORDER); // fewer lines than the text
    SetFocus(view);
    const auto key = [view](UINT code, int times) {
        for (int i = 0; i < times; ++i) {
            SendMessageA(view, WM_KEYDOWN, code, 1);
            SendMessageA(view, WM_KEYUP, code, 0xC0000001);
        }
    };
    const auto ctrlEnd = [view] {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        SendMessageA(view, WM_KEYDOWN, VK_END, 1);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    };
    struct Case {
        const char* name;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"down arrow", [&] { key(VK_DOWN, 40); }},
        {"page down", [&] { key(VK_NEXT, 3); }},
        {"Ctrl+End", ctrlEnd},
        {"minimise and restore",
         [this] {
             ShowWindow(window_, SW_MINIMIZE);
             ShowWindow(window_, SW_RESTORE);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SendMessageA(view, EM_SETSEL, 0, 0);
        c.act();
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        EXPECT_EQ(FirstVisibleLine(), 0);
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(view, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_FALSE(start == 0 && end == static_cast<DWORD>(GetWindowTextLengthA(view)))
            << "the whole text is selected";
    }
}

} // namespace
