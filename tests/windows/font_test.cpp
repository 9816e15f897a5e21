// The font command on the real main window, with the system's font dialog
// answered from the test.
#include "ui/font.h"

#include "document/document.h"
#include "resources/resource.h"
#include "tests/windows/support.h"

#include <string>

namespace {

// Controls of the system's font dialog.
constexpr int FONT_FACE_BOX = 0x470;
constexpr int FONT_SIZE_BOX = 0x472;
constexpr int STRIKE_OUT_BOX = 0x410;
constexpr int UNDERLINE_BOX = 0x411;

// What the font dialog showed when it opened.
struct Opened {
    std::string face;
    std::string size;
};

class FontTest : public MainWindowTest {
protected:
    HFONT ViewFont() const
    {
        return reinterpret_cast<HFONT>(SendDlgItemMessageA(window_, IDC_VIEW, WM_GETFONT, 0, 0));
    }

    // Runs the font command; in the dialog, keeps the size it opened with,
    // sets size when given, ticks underline and strike-out when asked, and
    // ends with OK or Cancel. Returns the face and size it opened with.
    Opened Choose(const char* size, bool effects, int button)
    {
        Opened opened;
        BoxScript script({[&](HWND box) {
            opened = {WindowText(GetDlgItem(box, FONT_FACE_BOX)),
                      WindowText(GetDlgItem(box, FONT_SIZE_BOX))};
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
        return opened;
    }
};

LOGFONTA Describe(HFONT font)
{
    LOGFONTA logFont = {};
    EXPECT_EQ(GetObjectA(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
    return logFont;
}

// How a font is drawn: its face as realized, whether its cells are of one
// width, and the widths of a narrow, a wide and a double-byte character.
struct Drawn {
    std::string face;
    bool fixedPitch;
    BYTE charSet;
    SIZE narrow, wide, kanji;
};

Drawn Draw(HFONT font)
{
    Drawn drawn = {};
    HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font);
    char face[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof face, face);
    drawn.face = face;
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    // The flag's name says the opposite of what it means: set for a
    // variable pitch.
    drawn.fixedPitch = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
    drawn.charSet = metrics.tmCharSet;
    GetTextExtentPoint32A(dc, "ii", 2, &drawn.narrow);
    GetTextExtentPoint32A(dc, "WW", 2, &drawn.wide);
    const std::string kanji = Ansi(L"字");
    GetTextExtentPoint32A(dc, kanji.c_str(), static_cast<int>(kanji.size()), &drawn.kanji);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return drawn;
}

// The view starts with the main window's template font, "ＭＳ ゴシック" at
// 12 points: the dump needs a fixed-pitch Japanese face, whose double-byte
// characters take two cells. The font dialog opens on that face and size,
// so OK without a change gives the view the same face and size again.
TEST_F(FontTest, DialogOpensOnTheViewFaceAndSize)
{
    const HFONT templateFont = ViewFont();
    ASSERT_NE(templateFont, nullptr);
    const LOGFONTA start = Describe(templateFont);
    const std::string face = Ansi(L"ＭＳ ゴシック");
    HDC screen = GetDC(nullptr);
    const LONG twelvePoints = -MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(std::string(start.lfFaceName), face);
    EXPECT_EQ(start.lfHeight, twelvePoints);

    const Drawn drawn = Draw(templateFont);
    EXPECT_TRUE(drawn.fixedPitch) << "the view's font is drawn as " << drawn.face;
    EXPECT_EQ(drawn.charSet, SHIFTJIS_CHARSET) << drawn.face;
    EXPECT_EQ(drawn.narrow.cx, drawn.wide.cx) << drawn.face;
    EXPECT_EQ(drawn.kanji.cx, drawn.wide.cx) << drawn.face;

    const Opened opened = Choose(nullptr, false, IDOK);
    EXPECT_NE(opened.face.substr(0, 1), "@") << "a vertical-writing face: " << opened.face;
    EXPECT_EQ(opened.face, face);
    EXPECT_EQ(opened.size, "12");

    const LOGFONTA chosen = Describe(ViewFont());
    EXPECT_EQ(std::string(chosen.lfFaceName), face);
    EXPECT_EQ(chosen.lfHeight, twelvePoints);
    const Drawn after = Draw(ViewFont());
    EXPECT_EQ(after.face, drawn.face);
    EXPECT_EQ(after.wide.cx, drawn.wide.cx);
    EXPECT_EQ(after.kanji.cx, drawn.kanji.cx);
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
    EXPECT_EQ(Choose(nullptr, true, IDOK).size, "20");
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

// The caption buttons (minimize, maximize, close) are glyphs of the Marlett
// face; without it they show as the letters "0 1 r".
TEST(CaptionFontTest, MarlettIsThere)
{
    LOGFONTA wanted = {};
    wanted.lfHeight = -16;
    wanted.lfCharSet = SYMBOL_CHARSET;
    lstrcpyA(wanted.lfFaceName, "Marlett");
    const HFONT font = CreateFontIndirectA(&wanted);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(Draw(font).face, "Marlett");
    DeleteObject(font);
}

} // namespace
