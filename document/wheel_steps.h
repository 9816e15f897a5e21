// wheel_steps.h - turning the rotation of the mouse wheel into the line and
// page steps of the scroll bar.
#pragma once

#include "document/scroll_offsets.h"

#include <cstdint>

// The rotation of one notch (WHEEL_DELTA), and the "scroll a page"
// setting of the lines a notch scrolls (WHEEL_PAGESCROLL).
constexpr int32_t WHEEL_NOTCH = 120;
constexpr uint32_t WHEEL_PAGE_A_NOTCH = 0xFFFFFFFF;

// Scroll-bar requests that a wheel message stands for: count requests of
// code (a SCROLL_ line or page code of scroll_offsets.h); count 0 for none.
struct WheelSteps {
    unsigned code;
    uint32_t count;
};

// The steps for a rotation of delta (positive away from the user: towards
// the start of the file) when a notch moves linesPerNotch lines (the
// system's wheel setting: 0 moves nothing, WHEEL_PAGE_A_NOTCH a page).
// A notch never moves more than a page: from LINES_PER_PAGE lines on it is
// one page step. *rest carries the rotation that made no whole step yet
// from one message to the next, so that a wheel reporting fractions of a
// notch moves as far as one reporting whole notches; a turn of direction
// drops it. *rest starts at 0 and always stays below one step.
WheelSteps StepsForWheel(int32_t* rest, int32_t delta, uint32_t linesPerNotch);
