// dump_text.cpp - header and dump lines of the view text.
#include "dump/dump_text.h"

#include "dump/codecs.h"

namespace {

// Column layout of a dump line.
constexpr uint32_t OFFSET_COLUMN = 1; // 8 digits, columns 1..8
constexpr uint32_t HEX_COLUMN = 11;   // byte i at 11 + 3i and 12 + 3i
constexpr uint32_t CHAR_COLUMN = 60;  // byte i at 60 + i

void EndLine(char* line)
{
    line[LINE_COLUMNS] = '\r';
    line[LINE_COLUMNS + 1] = '\n';
    line[LINE_LENGTH] = '\0';
}

} // namespace

void FormatDumpLines(char* dest, uint32_t offset, const uint8_t* source, uint32_t count)
{
    while (count != 0) {
        for (uint32_t column = 0; column < LINE_COLUMNS; ++column)
            dest[column] = ' ';
        EndLine(dest);

        uint32_t value = offset;
        for (int digit = 7; digit >= 0; --digit) {
            dest[OFFSET_COLUMN + digit] = HEX_DIGITS[value & 0x0F];
            value >>= 4;
        }

        const uint32_t n = count < LINE_BYTES ? count : LINE_BYTES;
        count -= n;
        for (uint32_t i = 0; i < n; ++i) {
            const uint8_t b = source[i];
            dest[HEX_COLUMN + 3 * i] = HEX_DIGITS[b >> 4];
            dest[HEX_COLUMN + 3 * i + 1] = HEX_DIGITS[b & 0x0F];
            dest[CHAR_COLUMN + i] = ShownAs(b);
        }

        dest += LINE_LENGTH;
        source += n;
        offset += LINE_BYTES;
    }
}

void FormatHeaderLine(char* dest, const char* header)
{
    uint32_t column = 0;
    for (; column < LINE_COLUMNS && header[column] != '\0'; ++column)
        dest[column] = header[column];
    for (; column < LINE_COLUMNS; ++column)
        dest[column] = ' ';
    EndLine(dest);
}

uint32_t DumpByteCount(uint32_t fileSize, uint32_t topOffset, uint32_t validCount)
{
    if (topOffset >= fileSize)
        return 0;
    uint32_t count = fileSize - topOffset;
    if (count > VIEW_BYTES)
        count = VIEW_BYTES;
    if (count > validCount)
        count = validCount;
    return count;
}

void BuildViewText(char* dest, const char* header, uint32_t topOffset, const uint8_t* window,
                   uint32_t count)
{
    FormatHeaderLine(dest, header);
    FormatDumpLines(dest + LINE_LENGTH, topOffset, window, count);
}
