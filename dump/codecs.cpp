// codecs.cpp - hex numbers, hex byte lists, printable text, raw text and
// decimal numbers, to and from the one-line texts of the prompts.
#include "dump/codecs.h"

#include "dump/dump_text.h"

namespace {

// Value 0..15 of a hex digit, or -1 for any other byte (0x80 up included).
int HexDigitValue(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

void FormatHexNumber(char* dest, int32_t value, int digits)
{
    if (digits < 0)
        digits = 0;
    dest[digits] = '\0';
    // One shift by four per digit keeps every shift in range; shifting a
    // negative value keeps its sign, so digits beyond the eighth are F.
    for (int position = digits - 1; position >= 0; --position) {
        dest[position] = HEX_DIGITS[static_cast<uint32_t>(value) & 0x0F];
        value >>= 4;
    }
}

void FormatHexBytes(char* dest, const uint8_t* source, uint32_t count)
{
    if (count == 0) {
        dest[0] = '\0';
        return;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t b = source[i];
        dest[0] = HEX_DIGITS[b >> 4];
        dest[1] = HEX_DIGITS[b & 0x0F];
        dest[2] = ' ';
        dest += 3;
    }
    dest[-1] = '\0'; // the last blank
}

uint32_t ParseHexBytes(const char* text, uint8_t* dest, uint32_t maxCount)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    uint32_t stored = 0;
    while (*p != '\0' && stored < maxCount) {
        while (*p == ' ' || *p == '\t')
            ++p;
        const int high = HexDigitValue(*p);
        if (high < 0)
            return stored; // the NUL after trailing blanks, or no digit
        ++p;

        uint8_t byte;
        const int low = HexDigitValue(*p);
        if (low >= 0) {
            byte = static_cast<uint8_t>(high * 16 + low);
            ++p;
        } else if (*p == '\0') {
            byte = static_cast<uint8_t>(high); // a lone digit at the end
        } else if (*p <= 0x20) {
            byte = static_cast<uint8_t>(high); // a lone digit, then a separator
            ++p;
        } else {
            return stored; // a digit glued to something else is dropped
        }
        dest[stored++] = byte;
    }
    return stored;
}

void FormatPrintable(char* dest, const uint8_t* source, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i)
        dest[i] = ShownAs(source[i]);
    dest[count] = '\0';
}

bool ParseHexNumber(const char* text, uint32_t* value)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    if (*p == '\0')
        return false;
    uint32_t number = 0;
    for (; *p != '\0'; ++p) {
        const int digit = HexDigitValue(*p);
        if (digit < 0)
            return false;
        number = (number << 4) | static_cast<uint32_t>(digit); // older digits drop out
    }
    *value = number;
    return true;
}

bool ParseDecimal(const char* text, int32_t* value)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    if (*p == '\0')
        return false;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    // Unsigned arithmetic wraps modulo 2^32 without overflow.
    uint32_t number = 0;
    for (; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        number = number * 10 + static_cast<uint32_t>(*p - '0');
    }
    if (negative)
        number = 0u - number;
    *value = static_cast<int32_t>(number);
    return true;
}

uint32_t ReadLittleEndian32(const uint8_t* bytes)
{
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t{bytes[3]} << 24;
}

void WriteLittleEndian32(uint8_t* dest, uint32_t value)
{
    for (int k = 0; k < 4; ++k)
        dest[k] = static_cast<uint8_t>(value >> (8 * k));
}
