// screen_pace.cpp - the pacing of a running search's screen work.
#include "search/screen_pace.h"

bool ScreenWorkDue(const ScreenPace& pace, uint64_t now)
{
    return !pace.worked || now < pace.lastWork || now - pace.lastWork >= SCREEN_INTERVAL_MS;
}
