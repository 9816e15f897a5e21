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

// What a scan of the file came to.
struct ScanOutcome {
    bool matched;       // line is the match's line
    uint32_t line;
    bool quit;          // a quit message came while messages were handled
    uint32_t lastChunk; // position of the last chunk searched
    bool lastShown;     // the view shows lastChunk's position, or nothing was searched
};

// Fills searchChunk with the chunk at position: the whole chunk read at its
// position, or with carry the overlap moved to the front and the rest read
// on. Returns the count of the file's bytes that the buffer holds for it.
// carry: the buffer ends with this chunk's first bytes and the file
// position stands right after them, because the chunk just searched filled
// the buffer and no message has been handled since. A command handled in
// the pump may have read the file elsewhere (a scroll), searched in this
// same buffer (a nested find-next) or opened another file.
uint32_t ReadChunk(uint32_t position, bool carry)
{
    const ChunkRead read = PlanChunkRead(position, document.fileSize, carry);
    if (read.kept != 0)
        CarryOverlap(searchChunk);
    uint32_t got = 0;
    bool succeeded = true;
    if (read.count != 0) {
        succeeded = (read.kept != 0 ? FileReadNext : FileReadAt)(
            document.fileHandle, document.fileSize, read.offset, searchChunk + read.kept, read.count, &got);
    }
    return ChunkCount(read, succeeded, got);
}

// Searches the file chunk by chunk from the line after the top line until a
// match, the end of the file, a stop request or a quit message, doing the
// screen work (progress text and message pump) when it is due.
ScanOutcome ScanFile(HWND mainWindow, const char* caption)
{
    ScanOutcome outcome = {false, 0, false, 0, true};
    ChunkWalk walk = FirstChunk(document.topOffset);
    ScreenPace pace = {0, false};
    bool carry = false; // whether the next chunk may carry the overlap (ReadChunk)
    // Handle, size and pattern are taken afresh for every chunk: a command
    // handled in the pump may have changed them, or closed the file.
    while (document.fileHandle != nullptr && ChunkInFile(walk, document.fileSize) && searchActive) {
        const uint32_t position = walk.position;
        const uint32_t count = ReadChunk(position, carry);
        carry = count == SEARCH_CHUNK;
        const uint32_t found = FindPattern(searchChunk, count, SEARCH_STEP, SearchPattern.patternBytes,
                                           SearchPattern.patternLength);
        if (found != NO_MATCH)
            return {true, MatchLine(position, found), false, outcome.lastChunk, outcome.lastShown};
        outcome.lastChunk = position;
        outcome.lastShown = false;

        if (ScreenWorkDue(pace, searchClock())) {
            ShowProgress(mainWindow, caption, position);
            outcome.lastShown = true;
            carry = false;
            if (!PumpMessages()) {
                outcome.quit = true;
                return outcome;
            }
            pace = {searchClock(), true};
        }
        walk = NextChunk(walk);
    }
    return outcome;
}

// Ends a search that found nothing: the last chunk's position and a "not
// found" or "aborted" box (none after a quit message), then the dump.
void EndWithoutMatch(HWND mainWindow, const char* caption, const ScanOutcome& outcome)
{
    if (!outcome.quit && IsWindow(mainWindow)) {
        if (!outcome.lastShown)
            ShowProgress(mainWindow, caption, outcome.lastChunk);
        ShowStringBox(mainWindow, STR_SEARCH, searchActive ? STR_NOT_FOUND : STR_ABORTED,
                      MB_OK | MB_ICONWARNING);
    }
    searchActive = 0;
    if (IsWindow(mainWindow))
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
    const ScanOutcome outcome = ScanFile(mainWindow, caption);
    if (outcome.matched)
        ShowMatch(mainWindow, outcome.line);
    else
        EndWithoutMatch(mainWindow, caption, outcome);
}
