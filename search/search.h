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
// it reads on.
extern bool searchActive;

// Forgets the pattern, clears the flag and puts the steady clock back, as
// at start.
void ResetSearchState();

// Asks a running search to stop before it reads on (the abort command, a
// close request); nothing happens when no search runs.
void StopSearch();

// The steady clock, in milliseconds, that paces the search's progress text
// and message pump; tests put a clock of their own here.
extern uint64_t (*searchClock)();

// Searches the open file forward for the pattern from the line after the
// top line, after the save question while the window is modified (nothing
// more when that save fails). While it runs, the view shows how far it got
// and every message is handled (paced by searchClock), so a stop request
// or another command can come; a command that changes the file, its size
// or the pattern is seen at the next block. Ends on the match's line (after
// the save question for an edit made meanwhile, staying put when that save
// fails), or with a "not found" or "aborted" box and the dump shown
// again. Does nothing without an open file or a pattern.
void RunSearch(HWND mainWindow);

// Prompts for a pattern in hexadecimal or as text, showing the present one,
// stores the answer and searches for it. Cancel changes nothing.
void EnterHexPattern(HWND mainWindow);
void EnterTextPattern(HWND mainWindow);

// Prompts for a signed 32-bit decimal value, showing the first four pattern
// bytes, and stores it as the pattern (least significant byte first). Does
// not search; a refused answer changes nothing.
void EnterDecimalPattern(HWND mainWindow);
