// screen_pace.h - when a running search does its screen work (the progress
// text and the message pump): after its first chunk, then whenever that work
// has not run for SCREEN_INTERVAL_MS of a steady clock. Reading a chunk and
// comparing it take microseconds, the screen work about a millisecond: done
// after every chunk it would be nearly all of the search's time.
#pragma once

#include <cstdint>

// A screen shows at most about 60 pictures a second, and a stop request
// handled this long after it was made still feels immediate.
constexpr uint64_t SCREEN_INTERVAL_MS = 30;

struct ScreenPace {
    uint64_t lastWork; // clock reading, in milliseconds, when the work last ended
    bool worked;       // false until the work has run once in this search
};

// Whether the chunk just searched at clock reading now gets the screen work:
// always before it has run once, then once SCREEN_INTERVAL_MS have passed
// since it last ended. A clock that went back counts as due.
bool ScreenWorkDue(const ScreenPace& pace, uint64_t now);
