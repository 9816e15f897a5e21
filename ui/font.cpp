// font.cpp - the font dialog for the dump view.
#include "ui/font.h"

#include "resources/resource.h"

#include <commdlg.h>

namespace {

// The font that the last choice made and gave to the view; the view owns
// it until the next choice replaces it.
HFONT chosenFont;

} // namespace

void ChooseViewFont(HWND mainWindow)
{
    HWND view = GetDlgItem(mainWindow, IDC_VIEW);
    const HFONT present = reinterpret_cast<HFONT>(SendMessageA(view, WM_GETFONT, 0, 0));
    LOGFONTA logFont;
    // A view without a font of its own draws with the system font.
    if (present == nullptr || GetObjectA(present, sizeof logFont, &logFont) != sizeof logFont)
        GetObjectA(GetStockObject(SYSTEM_FONT), sizeof logFont, &logFont);
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
    const HFONT font = CreateFontIndirectA(&logFont);
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
