// codecs.h - the small text codecs behind every prompt.
//
// Each prompt formats the present bytes or value into its input text and
// parses the text that comes back. These routines are pure: they work on
// buffers the caller provides, allocate nothing and report only by result.
// Texts are NUL-terminated byte strings; every character is judged by its
// unsigned value, so a byte from 0x80 up is never a digit, sign or separator.
// Hexadecimal output is uppercase; hexadecimal input takes both cases.
#pragma once

#include <cstdint>

// The digits of every hexadecimal text the program writes, uppercase.
inline constexpr char HEX_DIGITS[] = "0123456789ABCDEF";

// Writes the low 4 * digits bits of value as `digits` uppercase hex digits,
// most significant first with leading zeros, then a NUL (digits + 1 bytes).
// Beyond 8 digits the extra leading digits are the sign fill: F when value is
// negative, 0 otherwise. digits 0 or below writes only the NUL.
void FormatHexNumber(char* dest, int32_t value, int digits);

// Writes the count bytes of source as uppercase pairs separated by single
// blanks, "01 AB FF": 3 * count - 1 characters and a NUL (3 * count bytes).
// A count of 0 writes only the NUL.
void FormatHexBytes(char* dest, const uint8_t* source, uint32_t count);

// Reads a list of hex pairs separated by blanks, tabs or other control
// characters; a lone digit stands for one byte. Stops at the NUL, at the
// first character that cannot start or end a byte, or once maxCount bytes
// are stored. Writes at most maxCount bytes to dest, no terminator, and
// returns the number stored; the bytes stored before a stop stay stored.
uint32_t ParseHexBytes(const char* text, uint8_t* dest, uint32_t maxCount);

// Writes the count bytes of source as text: a byte below 0x20 becomes '.',
// every other byte is copied unchanged; then a NUL (count + 1 bytes).
void FormatPrintable(char* dest, const uint8_t* source, uint32_t count);

// Reads a text made only of hex digits (no blanks, sign, prefix or suffix)
// as an unsigned 32-bit number; past 8 digits the last 8 count. Returns
// true and stores the number, or false for an empty or bad text and leaves
// *value.
[[nodiscard]] bool ParseHexNumber(const char* text, uint32_t* value);

// Reads an optional '+' or '-' and decimal digits as a 32-bit number that
// wraps modulo 2^32 and is read as signed; a lone sign gives 0. Returns
// true and stores the number, or false for an empty or bad text and leaves
// *value.
[[nodiscard]] bool ParseDecimal(const char* text, int32_t* value);

// The 32-bit value whose four bytes, least significant first, are bytes[0]
// to bytes[3]: how the decimal prompt reads the pattern.
uint32_t ReadLittleEndian32(const uint8_t* bytes);

// Writes value as four bytes, least significant first, into dest[0] to
// dest[3]: how the decimal prompt stores its number as the pattern.
void WriteLittleEndian32(uint8_t* dest, uint32_t value);
