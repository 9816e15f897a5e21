// edit_math.h - the window-free part of in-place editing: which byte of the
// view a caret chooses, how many bytes an edit box shows, and how a text
// answer is stored.
#pragma once

#include <cstdint>

enum EditZone {
    ZONE_NONE, // outside both zones, in the header line, or a selection
    ZONE_HEX,  // a pair of hexadecimal digits
    ZONE_TEXT, // a character cell
};

struct CaretChoice {
    EditZone zone;
    uint32_t index; // the chosen byte, counted from the view's first byte
};

// The byte that a caret chooses in the view text, whose positions count
// bytes (79 a line, the header line first). Columns 10 to 57 choose byte
// (column - 10) / 3 of their dump line: the blank before a pair and both
// places within it choose the pair's byte. Columns 60 to 75 choose cell
// column - 60. A selection (end != start), the header line and every other
// column choose nothing (ZONE_NONE, index 0).
CaretChoice ChooseByteAtCaret(uint32_t start, uint32_t end);

// How many bytes an edit box shows from window index on: at most limit, and
// only bytes that the file holds beyond topOffset and that were read into
// the window (validCount). 0 when index is not such a byte: then there is
// nothing to edit. All comparisons are unsigned and never wrap.
uint32_t EditShownCount(uint32_t fileSize, uint32_t topOffset, uint32_t validCount,
                        uint32_t index, uint32_t limit);

// Stores the text answer of a box that showed bytes of dest as text:
// copies the answer's bytes into dest until its NUL or until room bytes are
// stored. Where the answer still holds what the box hands back when left
// alone (untouched), the byte becomes what the box showed: a byte below
// 0x20 the '.' it was shown as, every other byte itself, even one that the
// box cannot show and hands back as another character. Returns the number
// of bytes stored.
uint32_t StoreTextAnswer(const char* text, const char* untouched, uint8_t* dest, uint32_t room);
