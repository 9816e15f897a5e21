// edit_answer.h - the window-free part of in-place editing: which byte of the
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
uint32_t EditShownCount(uint32_t fileSize, uint32_t topOffset, uint32_t validCount, uint32_t index,
                        uint32_t limit);

// The most bytes that an answer may store from window index on: only bytes
// that hold file data (the first validCount), so 0 from validCount on.
uint32_t EditRoom(uint32_t validCount, uint32_t index);

// The most bytes that an input box hands back for one character.
constexpr uint32_t HANDED_BACK_MOST = 8;
// The most shown bytes that StoreTextAnswer tells apart (a text prompt shows
// at most 511 bytes).
constexpr uint32_t TEXT_SHOWN_MOST = 512;

// How an input box treats the characters of the ANSI code page: which bytes
// begin a double-byte character, and what it hands back for a character of
// its initial text that the user leaves alone. A character that the code page
// cannot show (a lead byte without its trail byte, a pair that is no
// character) comes back as another one, even of another length.
struct BoxCharacters {
    bool leadByte[256];
    // Writes the bytes handed back for the character chars[0..length) into
    // back (room for HANDED_BACK_MOST) and returns their count.
    uint32_t (*handBack)(const char* chars, uint32_t length, char* back);
};

// Stores the text answer of a box whose initial text showed the first shown
// bytes of dest (at most TEXT_SHOWN_MOST), each byte below 0x20 as '.'.
// Every character of the answer that the user left alone stands for the
// very bytes it showed, a byte below 0x20 shown as a dot included; every
// other character for its own bytes (a '.' typed in place of another
// character is 0x2E). A character counts as left alone when the answer holds
// what the box hands back for it at its place: among the characters the
// answer begins with or ends with as the box had them, or in between at the
// same count of characters from the start. These bytes are stored from
// dest[0] on until room bytes are stored; returns their number. So OK on an
// unchanged box stores exactly the shown bytes, and a byte after the shown
// ones changes only when the answer holds more than was shown.
uint32_t StoreTextAnswer(const char* answer, uint32_t shown, const BoxCharacters& box,
                         uint8_t* dest, uint32_t room);
