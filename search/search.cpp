// search.cpp - the chunked forward search.
#include "search/search.h"

#include "document/document.h"
#include "dump/render.h"
#include "resources/instance.h"
#include "resources/resource.h"
#include "search/compare.h"

SearchPatternRecord SearchPattern;
int searchActive;

namespace {

// Handles every waiting message, as the main loop would, so that the window
// stays alive and a stop request can arrive. A quit message is put back for
// the main loop; returns false when one came.
bool PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

} // namespace

void RunSearch(HWND window)
{
    if (document.fileHandle == nullptr || SearchPattern.patternLength == 0 ||
        SearchPattern.patternLength > PATTERN_CAPACITY)
        return;
    if (document.modified)
        PromptSave(window);

    char caption[256];
    LoadText(STR_SEARCH, caption, sizeof caption);
    searchActive = 1;

    uint8_t chunk[SEARCH_CHUNK];
    // The top line itself is never searched; past the last line of a 4 GiB
    // file there is nothing to search.
    uint32_t position = (document.topOffset + 16) & ~uint32_t{15};
    bool more = document.topOffset < 0xFFFFFFF0;
    bool quit = false;
    while (more && position < document.fileSize && searchActive) {
        char progress[256];
        wsprintfA(progress, "%s(%08X)", caption, position);
        SetDlgItemTextA(window, IDC_VIEW, progress);

        // Handle, size and pattern are taken afresh: a command handled in
        // the pump may have changed them.
        uint32_t count = 0;
        if (!FileReadAt(document.fileHandle, document.fileSize, position, chunk, SEARCH_CHUNK, &count))
            count = 0;
        const uint32_t found = FindPattern(chunk, count, SEARCH_STEP, SearchPattern.patternBytes,
                                           SearchPattern.patternLength);
        if (found != NO_MATCH) {
            document.topOffset = (position + found) & ~uint32_t{15};
            ReloadWindow();
            RenderView(window);
            searchActive = 0;
            return;
        }

        if (!PumpMessages()) {
            quit = true;
            break;
        }
        more = position <= 0xFFFFFFFF - SEARCH_STEP;
        position += SEARCH_STEP;
    }

    if (!quit && IsWindow(window)) {
        char text[256];
        LoadText(searchActive ? STR_NOT_FOUND : STR_ABORTED, text, sizeof text);
        MessageBoxA(window, text, caption, MB_OK | MB_ICONWARNING);
    }
    searchActive = 0;
    if (IsWindow(window))
        RenderView(window);
}
