// render.cpp - the view text and the scroll thumb of the main window.
#include "dump/render.h"

#include "document/document.h"
#include "dump/dump_text.h"
#include "resources/instance.h"
#include "resources/resource.h"

void RenderView(HWND window)
{
    if (document.fileHandle == nullptr) {
        SetDlgItemTextA(window, IDC_VIEW, "");
        return;
    }
    SetScrollPos(GetDlgItem(window, IDC_SCROLL), SB_CTL,
                 static_cast<int>(document.topOffset >> document.scrollShift), TRUE);

    char header[256];
    LoadText(STR_DUMP_HEADER, header, sizeof header);
    char text[VIEW_TEXT_SIZE];
    BuildViewText(text, header, document.topOffset, document.windowBuffer,
                  DumpByteCount(document.fileSize, document.topOffset, document.validCount));
    SetDlgItemTextA(window, IDC_VIEW, text);
    // The text is the dump again, not what the user typed: a click on the
    // view maps through it (the control clears the flag itself under Wine,
    // which the platform does not promise).
    SendDlgItemMessageA(window, IDC_VIEW, EM_SETMODIFY, FALSE, 0);
}
