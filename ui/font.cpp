// font.cpp - the font dialog for the dump view.
#include "ui/font.h"

#include "resources/resource.h"

#include <commdlg.h>

#include <cstddef>
#include <cstring>

namespace {

// The font that the last choice made and gave to the view; the view owns
// it until the next choice replaces it.
HFONT chosenFont;

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
    if (MultiByteToWideChar(FACE_CODE_PAGE, 0, logFont.lfFaceName, -1, wide.lfFaceName, LF_FACESIZE) == 0)
        wide.lfFaceName[0] = L'\0';
    return CreateFontIndirectW(&wide);
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

    // The old font goes only once the view no longer uses it; when no font
    // can be made of the choice, the view keeps the one it has.
    const HFONT font = MakeFont(logFont);
    if (font == nullptr)
        return;
    SendMessageA(view, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (present != nullptr && present == chosenFont)
        DeleteObject(present);
    chosenFont = font;

    RECT client;
    GetClientRect(mainWindow, &client);
    InvalidateRect(mainWindow, &client, TRUE);
}

void ForgetChosenFont()
{
    if (chosenFont != nullptr)
        DeleteObject(chosenFont);
    chosenFont = nullptr;
}
