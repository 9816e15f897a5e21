// The font command on the real main window, with the system's font dialog
// answered from the test.
#include "ui/font.h"

#include "document/document.h"
#include "resources/resource.h"
#include "tests/windows/support.h"

namespace {

// Controls of the system's font dialog.
constexpr int FONT_SIZE_BOX = 0x472;
constexpr int STRIKE_OUT_BOX = 0x410;
constexpr int UNDERLINE_BOX = 0x411;

class FontTest : public MainWindowTest {
protected:
    HFONT ViewFont() const
    {
        return reinterpret_cast<HFONT>(SendDlgItemMessageA(window_, IDC_VIEW, WM_GETFONT, 0, 0));
    }

    // Runs the font command; in the dialog, keeps the size it opened with,
    // sets size when given, ticks underline and strike-out when asked, and
    // ends with OK or Cancel. Returns the size the dialog opened with.
    std::string Choose(const char* size, bool effects, int button)
    {
        std::string openedSize;
        BoxScript script({[&](HWND box) {
            openedSize = WindowText(GetDlgItem(box, FONT_SIZE_BOX));
            if (size != nullptr) {
                HWND sizes = GetDlgItem(box, FONT_SIZE_BOX);
                SendMessageA(sizes, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(size));
                SendMessageA(box, WM_COMMAND, MAKEWPARAM(FONT_SIZE_BOX, CBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(sizes));
            }
            if (effects) {
                SendDlgItemMessageA(box, UNDERLINE_BOX, BM_CLICK, 0, 0);
                SendDlgItemMessageA(box, STRIKE_OUT_BOX, BM_CLICK, 0, 0);
            }
            PostMessageA(box, WM_COMMAND, button, 0);
        }});
        SendMessageA(window_, WM_COMMAND, CMD_FONT, 0);
        EXPECT_EQ(script.stepsRun(), 1);
        return openedSize;
    }
};

LOGFONTA Describe(HFONT font)
{
    LOGFONTA logFont = {};
    EXPECT_EQ(GetObjectA(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
    return logFont;
}

TEST_F(FontTest, ChoicesReplaceTheViewFontAndReleaseOnlyChosenOnes)
{
    const HFONT templateFont = ViewFont();
    ASSERT_NE(templateFont, nullptr);
    ASSERT_EQ(reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0)), templateFont);

    // With no file open: a font of size 20.
    Choose("20", false, IDOK);
    const HFONT first = ViewFont();
    EXPECT_NE(first, templateFont);
    const LOGFONTA firstChoice = Describe(first);
    EXPECT_EQ(firstChoice.lfUnderline, 0);
    EXPECT_EQ(GetObjectType(templateFont), static_cast<DWORD>(OBJ_FONT));

    // The dialog opens on the present font; underline and strike-out reach
    // the view, and the first chosen font is released.
    EXPECT_EQ(Choose(nullptr, true, IDOK), "20");
    const HFONT second = ViewFont();
    EXPECT_NE(second, first);
    EXPECT_EQ(GetObjectType(first), 0u) << "the first chosen font is released";
    EXPECT_EQ(GetObjectType(templateFont), static_cast<DWORD>(OBJ_FONT)) << "the template's font is kept";
    const LOGFONTA chosen = Describe(second);
    EXPECT_EQ(chosen.lfUnderline, 1);
    EXPECT_EQ(chosen.lfStrikeOut, 1);
    EXPECT_EQ(chosen.lfHeight, firstChoice.lfHeight);

    // Cancel changes nothing.
    Choose("8", false, IDCANCEL);
    EXPECT_EQ(ViewFont(), second);
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_FONT));

    // A file opened later shows in the chosen font; the input box keeps the
    // template's font.
    TempFolder folder;
    OpenDocument(window_, folder.Write("font.bin", CountingBytes(16)).c_str());
    EXPECT_EQ(ViewFont(), second);
    HFONT boxFont = nullptr;
    BoxScript script({[&](HWND box) {
        boxFont = reinterpret_cast<HFONT>(SendDlgItemMessageA(box, IDC_INPUT, WM_GETFONT, 0, 0));
        PostMessageA(box, WM_COMMAND, IDC_CANCEL, 0);
    }});
    SendMessageA(window_, WM_COMMAND, CMD_EDIT_HEX, 0);
    EXPECT_EQ(boxFont, templateFont);
}

} // namespace
