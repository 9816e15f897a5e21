// wheel_steps.cpp - wheel rotation to scroll steps.
#include "document/wheel_steps.h"

#include "document/scroll_offsets.h"

WheelSteps StepsForWheel(int32_t* rest, int32_t delta, uint32_t linesPerNotch)
{
    if (linesPerNotch == 0) {
        *rest = 0;
        return {SCROLL_LINE_UP, 0};
    }
    const bool pages = linesPerNotch >= LINES_PER_PAGE;
    const int64_t stepsPerNotch = pages ? 1 : linesPerNotch;
    if ((delta > 0 && *rest < 0) || (delta < 0 && *rest > 0))
        *rest = 0;
    // In units of 1/WHEEL_NOTCH step; |*rest| < WHEEL_NOTCH, so no overflow.
    const int64_t total = *rest + int64_t{delta} * stepsPerNotch;
    const int64_t steps = total / WHEEL_NOTCH;
    *rest = static_cast<int32_t>(total - steps * WHEEL_NOTCH);
    const bool back = steps > 0; // rotation away from the user
    const unsigned code = pages ? (back ? SCROLL_PAGE_UP : SCROLL_PAGE_DOWN)
                                : (back ? SCROLL_LINE_UP : SCROLL_LINE_DOWN);
    return {code, static_cast<uint32_t>(back ? steps : -steps)};
}
