// The input box: what it shows, how it ends, and the bounded copy back.
#include "ui/input_box.h"

#include "resources/resource.h"
#include "tests/windows/support.h"

#include <cstring>

namespace {

using InputBoxTest = MainWindowTest;

TEST_F(InputBoxTest, OkHandsBackTheFieldAndShowsTitleLabelTextIconAndFont)
{
    char text[256] = "initial";
    std::string title, label, field;
    bool iconSet = false, borrowedFont = false;
    const HFONT mainFont = reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0));
    BoxScript script({[&](HWND box) {
        title = WindowText(box);
        label = WindowText(GetDlgItem(box, IDC_PROMPT));
        field = WindowText(GetDlgItem(box, IDC_INPUT));
        iconSet = SendMessageA(box, WM_GETICON, ICON_BIG, 0) != 0;
        borrowedFont = reinterpret_cast<HFONT>(SendDlgItemMessageA(box, IDC_INPUT, WM_GETFONT, 0, 0)) == mainFont;
        SetDlgItemTextA(box, IDC_INPUT, "answer");
        PostMessageA(box, WM_COMMAND, IDC_OK, 0);
    }});
    EXPECT_TRUE(ShowInputBox(window_, "Title", "Label", text, sizeof text));
    EXPECT_STREQ(text, "answer");
    EXPECT_EQ(title, "Title");
    EXPECT_EQ(label, "Label");
    EXPECT_EQ(field, "initial");
    EXPECT_TRUE(iconSet);
    EXPECT_TRUE(borrowedFont);
    EXPECT_TRUE(IsWindowEnabled(window_));
}

TEST_F(InputBoxTest, OkWithoutTouchingTheFieldAndWithAnEmptyField)
{
    char text[256] = "keep";
    {
        BoxAnswer answer(IDC_OK);
        EXPECT_TRUE(ShowInputBox(window_, "", "", text, sizeof text));
    }
    EXPECT_STREQ(text, "keep");
    BoxAnswer answer(IDC_OK, IDC_INPUT, "");
    EXPECT_TRUE(ShowInputBox(window_, "", "", text, sizeof text));
    EXPECT_STREQ(text, "");
}

TEST_F(InputBoxTest, CancelAndTheCloseBoxLeaveTheBufferUntouched)
{
    struct Case {
        const char* name;
        std::function<void(HWND)> end;
    };
    const Case cases[] = {
        {"Cancel", [](HWND box) { PostMessageA(box, WM_COMMAND, IDC_CANCEL, 0); }},
        {"close box", [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Case& c : cases) {
        char text[256] = "before";
        BoxScript script({[&](HWND box) {
            SetDlgItemTextA(box, IDC_INPUT, "edited");
            c.end(box);
        }});
        EXPECT_FALSE(ShowInputBox(window_, "", "", text, sizeof text)) << c.name;
        EXPECT_STREQ(text, "before") << c.name;
    }
}

TEST_F(InputBoxTest, EnterAndEscapeLeaveTheBoxOpen)
{
    char text[256] = "";
    auto key = [](HWND box, WPARAM vk) {
        HWND field = GetDlgItem(box, IDC_INPUT);
        SetFocus(field);
        PostMessageA(field, WM_KEYDOWN, vk, 1);
        PostMessageA(field, WM_KEYUP, vk, 0xC0000001);
    };
    BoxScript script({
        [&](HWND box) {
            SetDlgItemTextA(box, IDC_INPUT, "first");
            key(box, VK_RETURN);
        },
        [&](HWND box) { key(box, VK_ESCAPE); },
        [&](HWND box) {
            SetDlgItemTextA(box, IDC_INPUT, "second");
            PostMessageA(box, WM_COMMAND, IDC_OK, 0);
        },
    });
    EXPECT_TRUE(ShowInputBox(window_, "", "", text, sizeof text));
    EXPECT_EQ(script.stepsRun(), 3);
    EXPECT_STREQ(text, "second");
}

TEST_F(InputBoxTest, LongAnswerIsCutToTheBuffer)
{
    char text[256 + 8];
    std::memset(text, '#', sizeof text);
    text[0] = '\0';
    BoxAnswer answer(IDC_OK, IDC_INPUT, std::string(300, 'x'));
    EXPECT_TRUE(ShowInputBox(window_, "", "", text, 256));
    EXPECT_EQ(std::strlen(text), 255u);
    EXPECT_EQ(text[256], '#'); // nothing written past the 256 bytes
}

} // namespace
