// font.cpp - the font dialog for the dump view.
#include "ui/font.h"

#include "resources/instance.h"
#include "resources/resource.h"

#include <commdlg.h>

#include <cstddef>
#include <cstring>

namespace {

// The font that the last choice made and gave to the view; the view owns
// it until the next choice replaces it.
HFONT chosenFont;
int chosenPointSize; // of chosenFont, in tenths of a point

// The view's face names are Japanese, and the program's text is in code
// page 932 whatever the system's code page is (its manifest asks for it).
// The font dialog follows the program's code page, but the graphics calls
// of the ANSI kind convert names with the system's: so fonts are described
// and made through the wide calls, their names converted with 932 here.
constexpr UINT FACE_CODE_PAGE = 932;

// The font's description, its face name in code page 932. False when the
// handle is not a font.
bool DescribeFont(HGDIOBJ font, LOGFONTA& logFont)
{
    LOGFONTW wide;
    if (GetObjectW(font, sizeof wide, &wide) != sizeof wide)
        return false;
    std::memcpy(&logFont, &wide, offsetof(LOGFONTA, lfFaceName));
    if (WideCharToMultiByte(FACE_CODE_PAGE, 0, wide.lfFaceName, -1, logFont.lfFaceName,
                            sizeof logFont.lfFaceName, nullptr, nullptr) == 0)
        logFont.lfFaceName[0] = '\0';
    return true;
}

// A font made from a description whose face name is in code page 932.
HFONT MakeFont(const LOGFONTA& logFont)
{
    LOGFONTW wide;
    std::memcpy(&wide, &logFont, offsetof(LOGFONTW, lfFaceName));
    if (MultiByteToWideChar(FACE_CODE_PAGE, 0, logFont.lfFaceName, -1, wide.lfFaceName,
                            LF_FACESIZE) == 0)
        wide.lfFaceName[0] = L'\0';
    return CreateFontIndirectW(&wide);
}

// Makes a font of logFont and gives it to the view, which is drawn again;
// the font that an earlier choice made goes once the view no longer uses
// it, the template's font never. When no font can be made, the view keeps
// the one it has and this returns false.
bool GiveViewFont(HWND mainWindow, const LOGFONTA& logFont)
{
    const HFONT font = MakeFont(logFont);
    if (font == nullptr)
        return false;
    HWND view = GetDlgItem(mainWindow, IDC_VIEW);
    const HFONT present = reinterpret_cast<HFONT>(SendMessageA(view, WM_GETFONT, 0, 0));
    SendMessageA(view, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (present != nullptr && present == chosenFont)
        DeleteObject(present);
    chosenFont = font;

    RECT client;
    GetClientRect(mainWindow, &client);
    InvalidateRect(mainWindow, &client, TRUE);
    return true;
}

} // namespace

void ChooseViewFont(HWND mainWindow)
{
    HWND view = GetDlgItem(mainWindow, IDC_VIEW);
    const HFONT present = reinterpret_cast<HFONT>(SendMessageA(view, WM_GETFONT, 0, 0));
    LOGFONTA logFont;
    // A view without a font of its own draws with the system font.
    if (present == nullptr || !DescribeFont(present, logFont))
        DescribeFont(GetStockObject(SYSTEM_FONT), logFont);
    logFont.lfCharSet = DEFAULT_CHARSET;

    CHOOSEFONTA request;
    ZeroMemory(&request, sizeof request);
    request.lStructSize = sizeof request;
    request.hwndOwner = mainWindow;
    request.lpLogFont = &logFont;
    request.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    request.rgbColors = RGB(0, 0, 0);
    request.nFontType = SCREEN_FONTTYPE;
    if (!ChooseFontA(&request))
        return;
    // The height in pixels from the size in points, at the window's scale
    // (the dialog gives it at the screen's).
    logFont.lfHeight = -MulDiv(request.iPointSize, static_cast<int>(WindowDpi(mainWindow)), 720);
    if (GiveViewFont(mainWindow, logFont))
        chosenPointSize = request.iPointSize;
}

void ScaleViewFont(HWND mainWindow)
{
    LOGFONTA logFont;
    if (chosenFont == nullptr || !DescribeFont(chosenFont, logFont))
        return; // the template's font is the dialog's, which scales it itself
    logFont.lfHeight = -MulDiv(chosenPointSize, static_cast<int>(WindowDpi(mainWindow)), 720);
    GiveViewFont(mainWindow, logFont);
}

void ForgetChosenFont()
{
    if (chosenFont != nullptr)
        DeleteObject(chosenFont);
    chosenFont = nullptr;
    chosenPointSize = 0;
}
