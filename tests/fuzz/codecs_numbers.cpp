// FormatHexNumber, ParseHexNumber, ParseDecimal and the little-endian
// bytes of the decimal pattern on arbitrary values, digit counts and texts.
//
// Input: 4 bytes, a value; 1 byte, a digit count (signed, -128 to 127); then
// the body, parsed as a text both as a hex number and as a decimal.
#include "dump/codecs.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// Hex digit k from the right of value with the sign fill past the eighth.
char ReferenceHexDigit(int32_t value, int k)
{
    const uint32_t bits = static_cast<uint32_t>(value);
    const uint32_t nibble = k < 8 ? (bits >> (4 * k)) & 0x0F : (value < 0 ? 0x0F : 0);
    return "0123456789ABCDEF"[nibble];
}

void CheckFormatHexNumber(int32_t value, int digits)
{
    const int shown = digits > 0 ? digits : 0;
    Block room(static_cast<size_t>(shown) + 1);
    FormatHexNumber(room.chars(), value, digits);
    const std::string text = TextOf(room);
    FUZZ_CHECK(text.size() == static_cast<size_t>(shown));
    for (int k = 0; k < shown; ++k)
        FUZZ_CHECK(text[shown - 1 - k] == ReferenceHexDigit(value, k));

    uint32_t parsed = 0x5A5A5A5A;
    const bool accepted = ParseHexNumber(room.chars(), &parsed);
    if (shown == 0) {
        FUZZ_CHECK(!accepted && parsed == 0x5A5A5A5A);
    } else {
        const uint32_t mask = shown >= 8 ? 0xFFFFFFFF : (uint32_t{1} << (4 * shown)) - 1;
        FUZZ_CHECK(accepted && parsed == (static_cast<uint32_t>(value) & mask));
    }
}

// What ParseHexNumber accepts: a text of hex digits only; the value of its
// last 8 digits, as the C library reads them. The parser reads the text's
// own block, the reference a copy.
void CheckParseHexNumber(const char* text, uint32_t before)
{
    const std::string copy = text;
    bool valid = !copy.empty();
    for (unsigned char c : copy)
        valid = valid && IsHexDigit(c);

    uint32_t value = before;
    const bool accepted = ParseHexNumber(text, &value);
    FUZZ_CHECK(accepted == valid);
    if (!valid) {
        FUZZ_CHECK(value == before);
        return;
    }
    const size_t last8 = copy.size() > 8 ? copy.size() - 8 : 0;
    FUZZ_CHECK(value == std::strtoul(copy.c_str() + last8, nullptr, 16));
}

// What ParseDecimal accepts: an optional sign and decimal digits only, not
// nothing at all; the value modulo 2^32, negated after a minus.
void CheckParseDecimal(const char* text, int32_t before)
{
    const std::string copy = text;
    const bool hasSign = !copy.empty() && (copy[0] == '+' || copy[0] == '-');
    bool valid = !copy.empty();
    uint64_t magnitude = 0;
    for (size_t i = hasSign ? 1 : 0; i < copy.size(); ++i) {
        valid = valid && copy[i] >= '0' && copy[i] <= '9';
        magnitude = (magnitude * 10 + static_cast<uint64_t>(copy[i] - '0')) % (uint64_t{1} << 32);
    }

    int32_t value = before;
    const bool accepted = ParseDecimal(text, &value);
    FUZZ_CHECK(accepted == valid);
    if (!valid) {
        FUZZ_CHECK(value == before);
        return;
    }
    const uint64_t wrapped =
        copy[0] == '-' ? ((uint64_t{1} << 32) - magnitude) % (uint64_t{1} << 32) : magnitude;
    FUZZ_CHECK(static_cast<uint32_t>(value) == wrapped);
}

// The value as the C library prints it reads back unchanged.
void CheckPrintedValue(int32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    int32_t decimal = ~value;
    FUZZ_CHECK(ParseDecimal(text, &decimal) && decimal == value);

    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    uint32_t hex = ~static_cast<uint32_t>(value);
    FUZZ_CHECK(ParseHexNumber(text, &hex) && hex == static_cast<uint32_t>(value));
}

} // namespace

namespace {

// The four bytes of a value, least significant first, in a block of exactly
// four bytes, and the value read back from them; and the value that four
// arbitrary bytes make writes them back unchanged.
void CheckLittleEndian(int32_t value, const uint8_t* someBytes, size_t someCount)
{
    const auto bits = static_cast<uint32_t>(value);
    Block four(4);
    WriteLittleEndian32(four.bytes(), bits);
    for (int k = 0; k < 4; ++k)
        FUZZ_CHECK(four.bytes()[k] == ((bits >> (8 * k)) & 0xFF));
    FUZZ_CHECK(ReadLittleEndian32(four.bytes()) == bits);
    FUZZ_CHECK(static_cast<int32_t>(ReadLittleEndian32(four.bytes())) == value);

    if (someCount < 4)
        return;
    Block back(4);
    WriteLittleEndian32(back.bytes(), ReadLittleEndian32(someBytes));
    FUZZ_CHECK(std::memcmp(back.bytes(), someBytes, 4) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input input(data, size);
    const auto value = static_cast<int32_t>(input.Take(4));
    const int digits = static_cast<int8_t>(input.Take(1));

    CheckFormatHexNumber(value, digits);
    CheckPrintedValue(value);
    CheckLittleEndian(value, input.body(), input.bodySize());

    Block text = Text(input.body(), input.bodySize());
    // The value taken from the input is also what must stay after a failure.
    CheckParseHexNumber(text.chars(), static_cast<uint32_t>(value));
    CheckParseDecimal(text.chars(), value);
    return 0;
}
