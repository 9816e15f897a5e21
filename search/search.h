// search.h - the search pattern, the flag of a running search, the chunked
// forward search and the three ways of entering a pattern.
#pragma once

#include "search/compare.h"

#include <windows.h>

#include <cstdint>

struct SearchPatternRecord {
    uint8_t patternBytes[PATTERN_CAPACITY];
    uint32_t patternLength; // 0: no pattern entered
};

extern SearchPatternRecord SearchPattern;

// True while a search scans; StopSearch clears it to stop the scan before
// its next chunk.
extern bool searchActive;

// Forgets the pattern, clears the flag and puts the steady clock back, as
// at start.
void ResetSearchState();

// Asks a running search to stop before its next chunk (the abort command, a
// close request); nothing happens when no search runs.
void StopSearch();

// The steady clock, in milliseconds, that paces the search's progress text
// and message pump; tests put a clock of their own here.
extern uint64_t (*searchClock)();

// Searches the open file forward from the line after the top line for the
// pattern, after the save question while the window is modified (nothing
// more when that save fails). After the first chunk, and then after the
// first block of chunks that ends SCREEN_INTERVAL_MS or more later, it
// shows the position of the chunk just searched in the view and handles
// every waiting message; handle, size and pattern are read afresh after
// each time. Ends on the match's line (asking the save question
// first when an edit was made meanwhile, and staying where it is when that
// save fails), or with a "not found" (the end
// of the file was reached, or no file is open any more) or "aborted" message
// box, the last chunk's position shown behind it and the dump shown again
// after it. Does nothing without an open file or a pattern.
void RunSearch(HWND mainWindow);

// Prompts for a pattern in hexadecimal or as text, showing the present one,
// stores the answer and searches for it. Cancel changes nothing.
void EnterHexPattern(HWND mainWindow);
void EnterTextPattern(HWND mainWindow);

// Prompts for a signed 32-bit decimal value, showing the first four pattern
// bytes, and stores it as the pattern (least significant byte first). Does
// not search; a refused answer changes nothing.
void EnterDecimalPattern(HWND mainWindow);
