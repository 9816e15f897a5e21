// search.cpp - the chunked forward search.
#include "search/search.h"

#include "document/document.h"
#include "dump/render.h"
#include "resources/instance.h"
#include "resources/resource.h"
#include "search/chunk_walk.h"
#include "search/compare.h"
#include "search/screen_pace.h"

#include <cstdio>

SearchPatternRecord SearchPattern;
bool searchActive;

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

// The one block buffer of every search. A search nested in another one (a
// command handled in the outer one's pump) runs to its end before the outer
// one reads again, and the outer one has compared its whole block before it
// pumps, so they never need the bytes at the same time; and a nesting
// costs no block-sized room on the stack.
uint8_t searchBlock[SEARCH_BLOCK];

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
    char progress[TEXT_BUFFER_SIZE];
    std::snprintf(progress, sizeof progress, "%s(%08X)", caption, static_cast<unsigned>(position));
    SetDlgItemTextA(mainWindow, IDC_VIEW, progress);
}

// Ends a search on its match: makes line, the match's line, the top line.
// An edit made while the search ran (in its pump) is asked about first, as
// before every move; when its save fails, the view stays with the edits.
void ShowMatch(HWND mainWindow, uint32_t line)
{
    const DocumentStamp stamp = TakeStamp();
    const bool settled = !document.modified || MayMoveOn(PromptSave(mainWindow));
    searchActive = false;
    if (!IsWindow(mainWindow))
        return;
    if (settled && StillCurrent(stamp))
        MoveTopLine(mainWindow, line);
    else
        RenderView(mainWindow);
}

// What a scan of the file came to.
struct ScanOutcome {
    bool matched; // line is the match's line
    uint32_t line;
    bool quit;          // a quit message came while messages were handled
    uint32_t lastChunk; // position of the last chunk searched
    bool lastShown;     // the view shows lastChunk's position, or nothing was searched
};

// Fills searchBlock for a block of chunks chunks at position: the whole
// block read at its position, or the overlap carried to the front and the
// rest read on. Returns the count of the file's bytes that the buffer holds
// from position on; whole: the read got all it asked for.
// carriedFrom, when not 0: the block just searched had that many chunks and
// ended with a whole one, and no message has been handled since, so that
// its buffer ends with this block's first bytes and the file position
// stands right after them. A command handled in the pump may have read the
// file elsewhere (a scroll), searched in this same buffer (a nested
// find-next) or opened another file.
uint32_t ReadBlock(uint32_t position, uint32_t carriedFrom, uint32_t chunks, bool* whole)
{
    const ChunkRead read = PlanBlockRead(position, document.fileSize, carriedFrom != 0, chunks);
    if (read.kept != 0)
        CarryOverlap(searchBlock, carriedFrom);
    uint32_t got = 0;
    bool succeeded = true;
    if (read.count != 0) {
        succeeded = (read.kept != 0 ? FileReadNext : FileReadAt)(
            document.fileHandle, document.fileSize, read.offset, searchBlock + read.kept,
            read.count, &got);
    }
    *whole = succeeded && got == read.count;
    return ChunkCount(read, succeeded, got);
}

// Searches the file chunk by chunk from the line after the top line until a
// match, the end of the file, a stop request or a quit message. Each read
// fills a block of chunks, and after each block the screen work (progress
// text and message pump) is done when it is due. The clock is read once a
// block: blocks grow while they read fast, so that it is read seldom where
// chunks are fast and after every chunk where they are slow.
ScanOutcome ScanFile(HWND mainWindow, const char* caption)
{
    ScanOutcome outcome = {false, 0, false, 0, true};
    ChunkWalk walk = FirstChunk(document.topOffset);
    ScreenPace pace = {0, false};
    uint64_t since = searchClock(); // when the block being read began
    uint32_t chunks = 1;            // in the next block
    uint32_t carriedFrom = 0;       // what the next block may carry (ReadBlock)
    // Handle, size and pattern are taken afresh for every block: a command
    // handled in the pump may have changed them, or closed the file.
    while (document.fileHandle != nullptr && ChunkInFile(walk, document.fileSize) && searchActive) {
        bool whole = false;
        const uint32_t held = ReadBlock(walk.position, carriedFrom, chunks, &whole);
        uint32_t count = 0;
        for (uint32_t index = 0;; ++index) {
            count = ChunkInBlock(held, index);
            const uint32_t found =
                FindPattern(searchBlock + index * SEARCH_STEP, count, SEARCH_STEP,
                            SearchPattern.patternBytes, SearchPattern.patternLength);
            if (found != NO_MATCH)
                return {true, MatchLine(walk.position, found), false, outcome.lastChunk,
                        outcome.lastShown};
            outcome.lastChunk = walk.position;
            outcome.lastShown = false;
            if (count < SEARCH_CHUNK || index + 1 == chunks)
                break; // the next chunk is not in the buffer, or not wholly
            walk = NextChunk(walk);
        }
        carriedFrom = count == SEARCH_CHUNK ? chunks : 0;
        const uint64_t now = searchClock();
        chunks = NextBlockChunks(chunks, whole, now >= since ? now - since : SLOW_BLOCK_MS);
        since = now;
        if (ScreenWorkDue(pace, now)) {
            ShowProgress(mainWindow, caption, outcome.lastChunk);
            outcome.lastShown = true;
            carriedFrom = 0;
            if (!PumpMessages()) {
                outcome.quit = true;
                return outcome;
            }
            pace = {searchClock(), true};
            since = pace.lastWork;
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
    searchActive = false;
    if (IsWindow(mainWindow))
        RenderView(mainWindow);
}

} // namespace

uint64_t (*searchClock)() = SteadyMilliseconds;

void ResetSearchState()
{
    SearchPattern = {};
    searchActive = false;
    searchClock = SteadyMilliseconds;
}

void StopSearch()
{
    searchActive = false;
}

void RunSearch(HWND mainWindow)
{
    if (document.fileHandle == nullptr || SearchPattern.patternLength == 0 ||
        SearchPattern.patternLength > PATTERN_CAPACITY)
        return;
    if (document.modified && !MayMoveOn(PromptSave(mainWindow)))
        return; // the save failed: the edits stay on screen

    char caption[TEXT_BUFFER_SIZE];
    LoadText(STR_SEARCH, caption, sizeof caption);
    searchActive = true;
    const ScanOutcome outcome = ScanFile(mainWindow, caption);
    if (outcome.matched)
        ShowMatch(mainWindow, outcome.line);
    else
        EndWithoutMatch(mainWindow, caption, outcome);
}
