// Every printable ASCII character leaves pixels where it is drawn: in the
// view's text column as the real main window paints it, and in the faces of
// the boxes, the captions, the menus and the message boxes. A face whose
// thin strokes fall between the rows of pixel centres loses them (an
// underscore that shows as a blank).
#include "document/document.h"
#include "dump/dump_text.h"
#include "resources/resource.h"
#include "tests/windows/support.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

// The pixels of a rectangle, copied into a DIB: of a DC, or of a window's
// client area as its own painting draws it (WM_PRINTCLIENT into a memory DC,
// so that no other window on the display can hide a part of it).
class Pixels {
public:
    Pixels(HDC source, const RECT& area) : Pixels(area)
    {
        Copy([&](HDC copy) { BitBlt(copy, 0, 0, width_, height_, source, left_, top_, SRCCOPY); });
    }

    Pixels(HWND window, const RECT& client) : Pixels(client)
    {
        Copy([&](HDC copy) {
            SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(copy), PRF_CLIENT | PRF_ERASEBKGND);
        });
    }

    // The colour at x, y of the source.
    uint32_t At(int x, int y) const { return bits_[static_cast<size_t>(y - top_) * width_ + (x - left_)]; }

    // Whether every pixel of the cell has the colour background.
    bool Blank(const RECT& cell, uint32_t background) const { return Differing(cell, background) == 0; }

    int Differing(const RECT& cell, uint32_t background) const
    {
        int count = 0;
        for (int y = cell.top; y < cell.bottom; ++y)
            for (int x = cell.left; x < cell.right; ++x)
                count += At(x, y) != background;
        return count;
    }

    // The cell as rows of '#' (not the background) and '.', for a failure.
    std::string Picture(const RECT& cell, uint32_t background) const
    {
        std::string picture;
        for (int y = cell.top; y < cell.bottom; ++y) {
            picture += "    ";
            for (int x = cell.left; x < cell.right; ++x)
                picture += At(x, y) != background ? '#' : '.';
            picture += '\n';
        }
        return picture;
    }

private:
    explicit Pixels(const RECT& area)
        : left_(area.left), top_(area.top), width_(area.right - area.left), height_(area.bottom - area.top),
          bits_(static_cast<size_t>(width_) * height_)
    {
    }

    // Runs draw on a memory DC with a white 32-bit DIB of the area's size
    // selected, and keeps what it drew.
    template <typename Draw>
    void Copy(Draw draw)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_; // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC copy = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(copy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap != nullptr) {
            const HGDIOBJ old = SelectObject(copy, bitmap);
            PatBlt(copy, 0, 0, width_, height_, WHITENESS);
            draw(copy);
            GdiFlush();
            const auto* from = static_cast<const uint32_t*>(bits);
            for (size_t i = 0; i < bits_.size(); ++i)
                bits_[i] = from[i] & 0xFFFFFF;
            SelectObject(copy, old);
            DeleteObject(bitmap);
        }
        DeleteDC(copy);
    }

    int left_, top_, width_, height_;
    std::vector<uint32_t> bits_;
};

// A face name in UTF-8, for a message. Faces are named and described
// through the wide calls: the ANSI ones convert names with the system's
// code page, which need not be 932.
std::string Utf8(const wchar_t* name)
{
    char utf8[4 * LF_FACESIZE] = "";
    WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

// How a font is realized: face, cell height, ascent and descent, for a
// failure.
std::string Realized(HDC dc)
{
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    return "face \"" + Utf8(face) + "\", cell " + std::to_string(metrics.tmHeight) + " pixels high, ascent " +
           std::to_string(metrics.tmAscent) + ", descent " + std::to_string(metrics.tmDescent);
}

// The characters 0x21 to 0x7E that font draws no pixel of, each alone in a
// memory DC, black on white; what was drawn of each, for a failure, in
// seen.
std::string Undrawn(HFONT font, std::string& seen)
{
    constexpr int SIDE = 96;
    constexpr uint32_t WHITE = 0xFFFFFF;
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = SIDE;
    info.bmiHeader.biHeight = -SIDE;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    const HGDIOBJ oldFont = SelectObject(dc, font);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, OPAQUE);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    seen = Realized(dc);
    const RECT all = {0, 0, SIDE, SIDE};
    std::string undrawn;
    for (char c = 0x21; c < 0x7F; ++c) {
        PatBlt(dc, 0, 0, SIDE, SIDE, WHITENESS);
        TextOutA(dc, 8, 8, &c, 1);
        GdiFlush();
        const Pixels pixels(dc, all);
        if (pixels.Blank(all, WHITE)) {
            undrawn += c;
            SIZE extent = {};
            GetTextExtentPoint32A(dc, &c, 1, &extent);
            const RECT cell = {8, 8, 8 + extent.cx, 8 + metrics.tmHeight};
            seen += std::string("\n  '") + c + "' drew nothing in its cell:\n" + pixels.Picture(cell, WHITE);
        }
    }
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return undrawn;
}

using GlyphTest = MainWindowTest;

// A file of the bytes 00 to 7F: its lines 20, 30 ... 70 show the printable
// ASCII characters in the text column. The window is widened so that the
// text column shows, and the view paints itself into a bitmap; then each
// character's cell must hold pixels of another colour than the cell of the blank before the
// text column on the same line.
TEST_F(GlyphTest, TheViewDrawsEveryPrintableCharacterOfTheTextColumn)
{
    TempFolder folder;
    std::string path;
    ASSERT_TRUE(WriteAndOpen(window_, folder, "ascii.bin", CountingBytes(0x80), path));
    SetWindowPos(window_, nullptr, 0, 0, 760, 600, SWP_NOZORDER | SWP_NOMOVE);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    HWND view = GetDlgItem(window_, IDC_VIEW);
    ASSERT_NE(view, nullptr);
    const std::string text = ViewText(window_);
    RECT client = {};
    GetClientRect(view, &client);
    HDC dc = GetDC(view);
    const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(view, WM_GETFONT, 0, 0)));
    const std::string font = Realized(dc);
    SelectObject(dc, oldFont);
    ReleaseDC(view, dc);
    const Pixels pixels(view, client);

    // The lines' height: from the top of line 1 to that of line 2.
    const auto lineTop = [&](int line) {
        const LRESULT place = SendMessageA(view, EM_POSFROMCHAR, SendMessageA(view, EM_LINEINDEX, line, 0), 0);
        return place == -1 ? -1 : static_cast<int>(static_cast<short>(HIWORD(place)));
    };
    const int lineHeight = lineTop(2) - lineTop(1);
    ASSERT_GT(lineHeight, 0) << "lines 1 and 2 of the view start at " << lineTop(1) << " and " << lineTop(2);
    // The cell of the character at column of line (the header is line 0).
    const auto cellOf = [&](int line, int column, RECT& cell) {
        const LRESULT start = SendMessageA(view, EM_LINEINDEX, line, 0);
        const LRESULT here = SendMessageA(view, EM_POSFROMCHAR, start + column, 0);
        const LRESULT next = SendMessageA(view, EM_POSFROMCHAR, start + column + 1, 0);
        if (start < 0 || here == -1 || next == -1)
            return false;
        cell = {static_cast<short>(LOWORD(here)), static_cast<short>(HIWORD(here)), static_cast<short>(LOWORD(next)),
                static_cast<short>(HIWORD(here)) + lineHeight};
        return cell.left >= client.left && cell.right <= client.right && cell.top >= client.top &&
               cell.bottom <= client.bottom && cell.left < cell.right && cell.top < cell.bottom;
    };

    for (int first = 0x20; first < 0x80; first += 0x10) {
        const int line = 1 + first / 0x10;
        // The line's first 15 characters, which are all printable or the
        // blank, find the text column.
        std::string shown;
        for (int i = 0; i < 15; ++i)
            shown += static_cast<char>(first + i);
        const std::string lineText = text.substr(static_cast<size_t>(line) * LINE_LENGTH, LINE_LENGTH);
        const size_t column = lineText.find(shown);
        ASSERT_NE(column, std::string::npos) << "line " << line << " of the view: " << lineText;
        // The blank: the one before the text column.
        const int blankColumn = static_cast<int>(column) - 1;
        ASSERT_EQ(lineText[blankColumn], ' ') << lineText;
        RECT blank = {};
        ASSERT_TRUE(cellOf(line, blankColumn, blank))
            << "the blank of line " << line << " is not inside the view " << client.right << "x" << client.bottom;
        const uint32_t background = pixels.At(blank.left, blank.top);
        ASSERT_TRUE(pixels.Blank(blank, background))
            << "the blank's cell on line " << line << " is not of one colour:\n"
            << pixels.Picture(blank, background);
        for (int i = 0; i < 16; ++i) {
            const int c = first + i;
            if (c < 0x21 || c > 0x7E)
                continue;
            RECT cell = {};
            ASSERT_TRUE(cellOf(line, static_cast<int>(column) + i, cell))
                << "the cell of 0x" << std::hex << c << " is not inside the view";
            EXPECT_GT(pixels.Differing(cell, background), 0)
                << "0x" << std::hex << c << " ('" << static_cast<char>(c) << "') shows as a blank in the text column, "
                << std::dec << "cell " << cell.left << "," << cell.top << " to " << cell.right << "," << cell.bottom
                << ", view font: " << font << "; the cell, '#' where not the background:\n"
                << pixels.Picture(cell, background);
        }
    }
}

// The faces that the boxes and Wine's own captions, menus and message boxes
// draw in: the main window's (the view, the input boxes), the Help and
// About boxes' at 9 points, and the system's caption, menu and message
// fonts.
TEST_F(GlyphTest, TheFacesOfTheBoxesCaptionsAndMenusDrawEveryPrintableCharacter)
{
    struct Face {
        std::string what;
        LOGFONTW font;
    };
    std::vector<Face> faces;
    LOGFONTW main = {};
    ASSERT_EQ(GetObjectW(reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0)), sizeof main, &main),
              static_cast<int>(sizeof main));
    faces.push_back({"the main window's font", main});
    LOGFONTW boxes = main;
    HDC screen = GetDC(nullptr);
    boxes.lfHeight = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    lstrcpynW(boxes.lfFaceName, L"ＭＳ Ｐゴシック", LF_FACESIZE);
    faces.push_back({"the Help and About boxes' font", boxes});
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    faces.push_back({"the caption font", metrics.lfCaptionFont});
    faces.push_back({"the small caption font", metrics.lfSmCaptionFont});
    faces.push_back({"the menu font", metrics.lfMenuFont});
    faces.push_back({"the message font", metrics.lfMessageFont});

    for (const Face& face : faces) {
        HFONT font = CreateFontIndirectW(&face.font);
        ASSERT_NE(font, nullptr) << face.what;
        std::string seen;
        EXPECT_EQ(Undrawn(font, seen), "") << face.what << " (\"" << Utf8(face.font.lfFaceName) << "\", height "
                                           << face.font.lfHeight << ") draws these as blanks; " << seen;
        DeleteObject(font);
    }
}

} // namespace
