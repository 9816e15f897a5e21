// render.cpp - the view text and the scroll thumb of the main window.
#include "dump/render.h"

#include "document/document.h"
#include "dump/dump_text.h"
#include "resources/instance.h"
#include "resources/resource.h"

#include <cstring>

namespace {

// The view text of the Document as it is (VIEW_TEXT_SIZE bytes); empty with
// no file open.
void BuildDump(char* text)
{
    if (document.fileHandle == nullptr) {
        text[0] = '\0';
        return;
    }
    char header[256];
    LoadText(STR_DUMP_HEADER, header, sizeof header);
    BuildViewText(text, header, document.topOffset, document.windowBuffer,
                  DumpByteCount(document.fileSize, document.topOffset, document.validCount));
}

} // namespace

void RenderView(HWND window)
{
    char text[VIEW_TEXT_SIZE];
    BuildDump(text);
    if (document.fileHandle != nullptr) {
        SetScrollPos(GetDlgItem(window, IDC_SCROLL), SB_CTL,
                     static_cast<int>(document.topOffset >> document.scrollShift), TRUE);
    }
    SetDlgItemTextA(window, IDC_VIEW, text);
    // The text is the dump again, not what the user typed: a click on the
    // view maps through it (the control clears the flag itself under Wine,
    // which the platform does not promise).
    SendDlgItemMessageA(window, IDC_VIEW, EM_SETMODIFY, FALSE, 0);
}

bool ViewShowsDump(HWND window)
{
    char dump[VIEW_TEXT_SIZE];
    BuildDump(dump);
    // One byte more than any dump, so that a longer text never matches.
    char shown[VIEW_TEXT_SIZE + 1];
    const UINT length = GetDlgItemTextA(window, IDC_VIEW, shown, sizeof shown);
    return length < sizeof shown && std::strcmp(shown, dump) == 0;
}
