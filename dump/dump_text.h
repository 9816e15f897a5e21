// dump_text.h - the text of the dump view, built without any window.
//
// The view text is a fixed grid: every line, the header included, is
// LINE_LENGTH bytes, 77 columns and CR LF, so that a position in the view
// maps back to a line, a column and a file offset by division alone.
#pragma once

#include <cstdint>

constexpr uint32_t LINE_LENGTH = 79; // 77 columns + CR LF
constexpr uint32_t LINE_COLUMNS = 77;
constexpr uint32_t LINE_BYTES = 16;        // file bytes on one dump line
constexpr uint32_t VIEW_BYTES = 1024;      // bytes shown: 64 dump lines
constexpr uint32_t VIEW_TEXT_SIZE = 32768; // buffer the view text is built in

// How a byte shows in the character column and in the text boxes: a byte
// below 0x20 as a dot, any other as itself (a byte of the code page).
constexpr char ShownAs(uint8_t byte)
{
    return byte < 0x20 ? '.' : static_cast<char>(byte);
}

// Writes one 79-byte dump line for every 16 bytes of count and one more for a
// remainder, back to back, then a NUL. Line j shows offset + 16j and the
// bytes source[16j..]. A count of 0 writes nothing at all, not even the NUL.
// dest needs 79 bytes a line plus 1.
void FormatDumpLines(char* dest, uint32_t offset, const uint8_t* source, uint32_t count);

// Writes the header line: the first 77 bytes of header, blanks where it is
// shorter, then CR LF and a NUL (80 bytes in all).
void FormatHeaderLine(char* dest, const char* header);

// Number of window bytes the view shows at topOffset: no more than the file
// holds from there (0 at or past its end), no more than VIEW_BYTES, and no
// more than validCount, the bytes of the window that were read at topOffset.
uint32_t DumpByteCount(uint32_t fileSize, uint32_t topOffset, uint32_t validCount);

// Writes the whole view text into dest (VIEW_TEXT_SIZE bytes): the header
// line, then the dump lines of the first count bytes of window, shown at
// topOffset. count must not exceed VIEW_BYTES.
void BuildViewText(char* dest, const char* header, uint32_t topOffset, const uint8_t* window,
                   uint32_t count);
