// render.cpp - the view text and the scroll thumb of the main window.
#include "dump/render.h"

#include "document/document.h"
#include "dump/dump_text.h"
#include "resources/instance.h"
#include "resources/resource.h"

#include <cwchar>

namespace {

// The view text of the Document as it is (VIEW_TEXT_SIZE bytes); empty with
// no file open.
void BuildDump(char* text)
{
    if (document.fileHandle == nullptr) {
        text[0] = '\0';
        return;
    }
    char header[TEXT_BUFFER_SIZE];
    LoadText(STR_DUMP_HEADER, header, sizeof header);
    BuildViewText(text, header, document.topOffset, document.windowBuffer,
                  DumpByteCount(document.fileSize, document.topOffset, document.validCount));
}

} // namespace

void RenderView(HWND mainWindow)
{
    char text[VIEW_TEXT_SIZE];
    BuildDump(text);
    if (document.fileHandle != nullptr) {
        // Setting the position redraws the bar even when the thumb stays
        // where it is, as it mostly does for a line or a page of a large
        // file: a quarter of such a scroll's time.
        HWND bar = GetDlgItem(mainWindow, IDC_SCROLL);
        const int thumb = static_cast<int>(document.topOffset >> document.scrollShift);
        if (GetScrollPos(bar, SB_CTL) != thumb)
            SetScrollPos(bar, SB_CTL, thumb, TRUE);
    }
    SetDlgItemTextA(mainWindow, IDC_VIEW, text);
    // The text is the dump again, not what the user typed: a click on the
    // view maps through it (the control clears the flag itself under Wine,
    // which the platform does not promise).
    SendDlgItemMessageA(mainWindow, IDC_VIEW, EM_SETMODIFY, FALSE, 0);
}

bool ViewShowsDump(HWND mainWindow)
{
    // Compared as the control holds text: characters of the code page. A
    // byte sequence that is no character there (a lone lead byte, 80, FD)
    // does not come back as itself in bytes, but it does as characters.
    // One character more than any dump, so that a longer text never
    // matches. GUI thread only, and nothing in here pumps messages.
    static char dump[VIEW_TEXT_SIZE];
    static wchar_t dumpCharacters[VIEW_TEXT_SIZE];
    static wchar_t shown[VIEW_TEXT_SIZE + 1];
    BuildDump(dump);
    if (MultiByteToWideChar(CP_ACP, 0, dump, -1, dumpCharacters, VIEW_TEXT_SIZE) == 0)
        return false;
    const UINT length = GetDlgItemTextW(mainWindow, IDC_VIEW, shown, VIEW_TEXT_SIZE + 1);
    return length < VIEW_TEXT_SIZE + 1 && std::wcscmp(shown, dumpCharacters) == 0;
}
