// search.cpp - the chunked forward search.
#include "search/search.h"

#include "document/document.h"
#include "dump/render.h"
#include "resources/instance.h"
#include "resources/resource.h"
#include "search/chunk_walk.h"
#include "search/compare.h"
#include "search/screen_pace.h"

SearchPatternRecord SearchPattern;
int searchActive;

namespace {

uint64_t SteadyMilliseconds()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    const uint64_t ticks = static_cast<uint64_t>(count.QuadPart);
    const uint64_t perSecond = static_cast<uint64_t>(frequency.QuadPart);
    return ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
}

// The one chunk buffer of every search. A search nested in another one (a
// command handled in the outer one's pump) runs to its end before the outer
// one reads again, and the outer one has compared its chunk before it
// pumps, so they never need the bytes at the same time; and a nesting
// costs no chunk-sized room on the stack.
uint8_t searchChunk[SEARCH_CHUNK];

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

void ShowProgress(HWND mainWindow, const char* caption, uint32_t position)
{
    char progress[256];
    wsprintfA(progress, "%s(%08X)", caption, position);
    SetDlgItemTextA(mainWindow, IDC_VIEW, progress);
}

// Ends a search on its match: makes line, the match's line, the top line.
// An edit made while the search ran (in its pump) is asked about first, as
// before every move; when its save fails, the view stays with the edits.
void ShowMatch(HWND mainWindow, uint32_t line)
{
    const uint32_t opened = document.openCount;
    const int settled = !document.modified || PromptSave(mainWindow);
    searchActive = 0;
    if (!IsWindow(mainWindow))
        return;
    if (settled && document.fileHandle != nullptr && document.openCount == opened) {
        document.topOffset = line;
        ReloadWindow();
    }
    RenderView(mainWindow);
}

} // namespace

uint64_t (*searchClock)() = SteadyMilliseconds;

void StopSearch()
{
    searchActive = 0;
}

void RunSearch(HWND mainWindow)
{
    if (document.fileHandle == nullptr || SearchPattern.patternLength == 0 ||
        SearchPattern.patternLength > PATTERN_CAPACITY)
        return;
    if (document.modified && !PromptSave(mainWindow))
        return; // the save failed: the edits stay on screen

    char caption[256];
    LoadText(STR_SEARCH, caption, sizeof caption);
    searchActive = 1;

    ChunkWalk walk = FirstChunk(document.topOffset);
    bool quit = false;
    ScreenPace pace = {0, false};
    uint32_t lastChunk = 0;
    bool lastShown = true; // the view shows lastChunk's position, or nothing was searched
    // Whether the buffer ends with the next chunk's first bytes and the file
    // position stands right after them, so that the next chunk carries them
    // to the front and reads on from there: the chunk just searched filled
    // the buffer and no message has been handled since. A command handled
    // in the pump may have read the file elsewhere (a scroll), searched in
    // this same buffer (a nested find-next) or opened another file.
    bool carry = false;
    // Handle, size and pattern are taken afresh for every chunk: a command
    // handled in the pump may have changed them, or closed the file.
    while (document.fileHandle != nullptr && ChunkInFile(walk, document.fileSize) && searchActive) {
        const uint32_t position = walk.position;
        const ChunkRead read = PlanChunkRead(position, document.fileSize, carry);
        if (read.kept != 0)
            CarryOverlap(searchChunk);
        uint32_t got = 0;
        bool succeeded = true;
        if (read.count != 0) {
            succeeded = (read.kept != 0 ? FileReadNext : FileReadAt)(
                document.fileHandle, document.fileSize, read.offset, searchChunk + read.kept, read.count, &got);
        }
        const uint32_t count = ChunkCount(read, succeeded, got);
        carry = count == SEARCH_CHUNK;
        const uint32_t found = FindPattern(searchChunk, count, SEARCH_STEP, SearchPattern.patternBytes,
                                           SearchPattern.patternLength);
        if (found != NO_MATCH) {
            ShowMatch(mainWindow, MatchLine(position, found));
            return;
        }
        lastChunk = position;
        lastShown = false;

        if (ScreenWorkDue(pace, searchClock())) {
            ShowProgress(mainWindow, caption, position);
            lastShown = true;
            carry = false;
            if (!PumpMessages()) {
                quit = true;
                break;
            }
            pace = {searchClock(), true};
        }
        walk = NextChunk(walk);
    }

    if (!quit && IsWindow(mainWindow)) {
        if (!lastShown)
            ShowProgress(mainWindow, caption, lastChunk);
        ShowStringBox(mainWindow, STR_SEARCH, searchActive ? STR_NOT_FOUND : STR_ABORTED,
                      MB_OK | MB_ICONWARNING);
    }
    searchActive = 0;
    if (IsWindow(mainWindow))
        RenderView(mainWindow);
}
