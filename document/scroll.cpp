// scroll.cpp - scroll-bar requests and the jump to a typed offset.
#include "document/scroll.h"

#include "document/document.h"
#include "document/scroll_offsets.h"
#include "document/wheel_steps.h"
#include "dump/codecs.h"
#include "dump/render.h"
#include "resources/instance.h"
#include "resources/resource.h"
#include "ui/input_box.h"

namespace {

int32_t wheelRest; // wheel rotation that made no whole step yet

// A press on the scroll bar whose save question ended in a failed save: its
// further requests, up to the bar's end notice, ask nothing and move
// nothing, so that one press asks once.
bool pressRefused;

// A thumb drag stored positions in the bar without drawing them (the bar
// draws the thumb it drags itself); the bar is drawn at the press's end.
bool thumbUndrawn;

// Ends the scroll bar's own tracking of a press, as its release would.
// The bar sends its first request while it handles the press, then repeats
// it on a timer until it sees the button released. A box that opens in
// between takes the pointer and that release, and the bar would go on
// repeating whenever the pointer rests on it. The posted release reaches
// the bar before any tick of its timer.
void EndScrollBarPress(HWND bar)
{
    PostMessageA(bar, WM_LBUTTONUP, 0, 0);
}

// count requests of one code, with one save question at most and one
// reload and render at the end: the same lines as count calls of
// ScrollView. Returns false when the save that the question asked for
// failed: nothing moved.
bool ScrollSteps(HWND mainWindow, unsigned code, unsigned position, uint32_t count)
{
    if (document.fileHandle == nullptr || SaveQuestionOpen())
        return true;
    if (document.modified) {
        HWND bar = GetDlgItem(mainWindow, IDC_SCROLL);
        const bool pressed = GetCapture() == bar; // the request comes from a press on the bar
        const SaveAnswer answer = PromptSave(mainWindow);
        if (pressed)
            EndScrollBarPress(bar);
        if (!MayMoveOn(answer))
            return false; // the edits stay on screen, or the file went away
    }
    const uint32_t top = TopAfterRequests(document.topOffset, document.fileSize,
                                          document.scrollShift, code, position, count);
    if (top == document.topOffset)
        return true;
    if (code == SCROLL_THUMB_TRACK) {
        // The bar draws the thumb that it drags itself: drawing it again
        // when the view renders would only slow every step of the drag.
        SetScrollPos(GetDlgItem(mainWindow, IDC_SCROLL), SB_CTL,
                     static_cast<int>(top >> document.scrollShift), FALSE);
        thumbUndrawn = true;
    }
    MoveTopLine(mainWindow, top);
    return true;
}

} // namespace

void ScrollView(HWND mainWindow, unsigned code, unsigned position)
{
    // The end notice of a press moves nothing and so asks nothing.
    if (code == SCROLL_END) {
        pressRefused = false;
        if (thumbUndrawn)
            InvalidateRect(GetDlgItem(mainWindow, IDC_SCROLL), nullptr, FALSE);
        thumbUndrawn = false;
        return;
    }
    if (!pressRefused)
        pressRefused = !ScrollSteps(mainWindow, code, position, 1);
}

void NoteScrollBarPress()
{
    pressRefused = false;
}

void ScrollByWheel(HWND mainWindow, int delta)
{
    UINT linesPerNotch = 3;
    if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &linesPerNotch, 0))
        linesPerNotch = 3;
    const WheelSteps steps = StepsForWheel(&wheelRest, delta, linesPerNotch);
    if (steps.count > 0)
        ScrollSteps(mainWindow, steps.code, 0, steps.count);
}

void ForgetScrollState()
{
    wheelRest = 0;
    pressRefused = false;
    thumbUndrawn = false;
}

void JumpToAddress(HWND mainWindow)
{
    if (document.fileHandle == nullptr)
        return;
    if (document.modified && !MayMoveOn(PromptSave(mainWindow)))
        return; // the save failed: the edits stay on screen

    char title[TEXT_BUFFER_SIZE];
    char label[TEXT_BUFFER_SIZE];
    char text[TEXT_BUFFER_SIZE];
    LoadText(STR_JUMP_TITLE, title, sizeof title);
    LoadText(STR_JUMP_LABEL, label, sizeof label);
    wsprintfA(text, "%08X", document.topOffset);
    if (!ShowInputBox(mainWindow, title, label, text, sizeof text))
        return;
    uint32_t target = 0;
    if (!ParseHexNumber(text, &target))
        return;
    MoveTopLine(mainWindow, LineInFile(target, document.fileSize));
}
