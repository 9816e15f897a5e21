// StepsForWheel over arbitrary settings and runs of wheel messages, and the
// top offset that TopAfterRequests makes of their steps.
//
// Input: 1 byte, the lines a notch (255: the "scroll a page" setting; 16
// and more scroll pages as well); 4 bytes, the file's size; 4 bytes, the
// top offset (kept within the file, on a line); then 2 bytes a message, at
// most MOST_MESSAGES of them, its rotation (a signed 16-bit number, as the
// platform's is). The bounds keep a run of a few seconds at thousands of
// inputs: a turn makes at most 273 notches, so at most about 4000 steps.
#include "document/scroll_offsets.h"
#include "document/wheel_steps.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// The most steps whose single requests are made one by one to compare.
constexpr uint32_t MOST_SINGLE_REQUESTS = 4096;
constexpr int MOST_MESSAGES = 32;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input input(data, size);
    const uint32_t setting = input.Take(1);
    const uint32_t lines = setting == 255 ? WHEEL_PAGE_A_NOTCH : setting;
    const bool pages = lines >= LINES_PER_PAGE;
    const int64_t perNotch = lines == 0 ? 0 : pages ? 1 : lines;
    const uint32_t fileSize = input.Take(4);
    const uint32_t shift = ScrollShiftFor(fileSize);
    uint32_t top = LineInFile(input.Take(4), fileSize);
    int32_t rest = 0;
    for (int message = 0; message < MOST_MESSAGES && input.bodySize() >= 2; ++message) {
        const auto delta = static_cast<int32_t>(static_cast<int16_t>(input.Take(2)));
        const int32_t before = rest;
        const WheelSteps steps = StepsForWheel(&rest, delta, lines);
        FUZZ_CHECK(rest > -WHEEL_NOTCH && rest < WHEEL_NOTCH);
        if (steps.count == 0)
            continue;
        const bool back = steps.code == (pages ? SCROLL_PAGE_UP : SCROLL_LINE_UP);
        FUZZ_CHECK(back || steps.code == (pages ? SCROLL_PAGE_DOWN : SCROLL_LINE_DOWN));
        FUZZ_CHECK(back == (delta > 0));
        // Nothing of the rotation is lost or made up: what the steps and the
        // new rest stand for is the old rest (kept unless the direction
        // turned) and the message's rotation.
        const bool turned = (delta > 0 && before < 0) || (delta < 0 && before > 0);
        const int64_t moved = (back ? 1 : -1) * int64_t{steps.count} * WHEEL_NOTCH + rest;
        FUZZ_CHECK(moved == (turned ? 0 : before) + int64_t{delta} * perNotch);

        // The steps move the top as far as that many single requests do,
        // each from where the one before left it, and in their direction.
        const uint32_t next = TopAfterRequests(top, fileSize, shift, steps.code, 0, steps.count);
        FUZZ_CHECK(next == LineInFile(next, fileSize));
        FUZZ_CHECK(back ? next <= top : next >= top);
        if (steps.count <= MOST_SINGLE_REQUESTS) {
            uint32_t single = top;
            for (uint32_t i = 0; i < steps.count; ++i)
                single = NewTopOffset(single, fileSize, shift, steps.code, 0);
            FUZZ_CHECK(next == single);
        }
        top = next;
    }
    return 0;
}
