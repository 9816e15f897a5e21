// scroll_offsets.h - mapping between file offsets and scroll-bar positions.
#pragma once

#include "dump/dump_text.h"

#include <cstdint>

// Smallest shift k for which fileSize >> k is below 32767 (0x7FFF), so that
// the scroll range 0 .. (fileSize >> k) + 1 stays within 32767.
uint32_t ScrollShiftFor(uint32_t fileSize);

// Highest scroll-bar position for a file of fileSize bytes under shift.
uint32_t ScrollMaximum(uint32_t fileSize, uint32_t shift);

constexpr uint32_t LINES_PER_PAGE = 16; // a page step of the scroll bar, in lines
constexpr uint32_t PAGE_BYTES = LINES_PER_PAGE * LINE_BYTES;

// Scroll request codes, as the scroll bar sends them.
constexpr unsigned SCROLL_LINE_UP = 0;
constexpr unsigned SCROLL_LINE_DOWN = 1;
constexpr unsigned SCROLL_PAGE_UP = 2;
constexpr unsigned SCROLL_PAGE_DOWN = 3;
constexpr unsigned SCROLL_THUMB_POSITION = 4;
constexpr unsigned SCROLL_THUMB_TRACK = 5;
constexpr unsigned SCROLL_TOP = 6;
constexpr unsigned SCROLL_BOTTOM = 7;
constexpr unsigned SCROLL_END = 8;

// Keeps an offset inside the file and on a line: from fileSize on it becomes
// the last byte's offset (0 for an empty file); then it is aligned down to
// a multiple of 16.
uint32_t LineInFile(uint32_t offset, uint32_t fileSize);

// The top offset after a scroll request. A line is 16 bytes and a page 256;
// thumb requests give position << shift, worked out without wrapping. A
// step back that would pass the start gives 0; a step forward, a thumb or
// the bottom request at or beyond the end gives the file's last line; then
// LineInFile applies. The end request leaves the top as it is, unknown codes
// keep it on its line.
uint32_t NewTopOffset(uint32_t topOffset, uint32_t fileSize, uint32_t shift, unsigned code,
                      unsigned position);

// The top offset after count requests of one code in a row, each taking the
// top that the one before left: what count scroll-bar requests, or the
// steps of one turn of the wheel, make of topOffset. A request that moves
// nothing would move nothing the next time either, so the steps stop there.
uint32_t TopAfterRequests(uint32_t topOffset, uint32_t fileSize, uint32_t shift, unsigned code,
                          unsigned position, uint32_t count);
