// edited_bytes.h - which bytes of the window a save writes: a mark for every
// byte edited since the window was read, kept as one bit a byte, and the
// runs of marked bytes in offset order.
#pragma once

#include "document/file_window.h"

#include <cstdint>

// One bit for every byte of the window: set while the byte holds an edit
// that was neither saved nor dropped.
struct EditedBytes {
    uint8_t bits[WINDOW_SIZE / 8];
};

// Marks count bytes from index on; what lies beyond the window is ignored.
void MarkEdited(EditedBytes& edited, uint32_t index, uint32_t count);

// Clears the marks of the bytes from start up to end (exclusive).
void ClearEdited(EditedBytes& edited, uint32_t start, uint32_t end);

// A run of window bytes, start up to end (exclusive); empty when equal.
struct ByteRun {
    uint32_t start;
    uint32_t end;
    friend bool operator==(const ByteRun&, const ByteRun&) = default;
};

// The first run of marked bytes that starts at or after from and lies below
// limit (clipped to it): the bytes a save writes next. Empty, at limit,
// when there is none. limit beyond the window counts as the window's end.
ByteRun NextEditedRun(const EditedBytes& edited, uint32_t from, uint32_t limit);

// Clears the marks of the first written bytes of run, which a save wrote;
// never more than the run. The rest of the run stays marked.
void ClearWritten(EditedBytes& edited, const ByteRun& run, uint32_t written);
