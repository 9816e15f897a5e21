// The text codecs of the prompts: hex numbers, hex byte lists, printable
// text, raw text and decimal numbers.
#include "dump/codecs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t GUARD = 8;            // guard bytes on each side of a destination
constexpr char GUARD_CHAR = '\x5A';
constexpr uint8_t GUARD_BYTE = 0xA5;

// Shows a text with its control characters and bytes from 0x7F up escaped,
// so that a failing row can be told apart.
std::string Shown(const char* text)
{
    std::string shown = "\"";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        if (*p < 0x20 || *p >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", *p);
            shown += escape;
        } else {
            shown += static_cast<char>(*p);
        }
    }
    return shown + "\"";
}

// Runs write on a destination of exactly `room` bytes with guard bytes on
// both sides, checks that no guard changed and returns the room as written.
template <typename Write>
std::string Written(size_t room, Write write)
{
    std::vector<char> raw(GUARD + room + GUARD, GUARD_CHAR);
    write(raw.data() + GUARD);
    for (size_t i = 0; i < GUARD; ++i) {
        EXPECT_EQ(raw[i], GUARD_CHAR) << "written before the destination, " << GUARD - i << " back";
        EXPECT_EQ(raw[GUARD + room + i], GUARD_CHAR) << "written " << i << " past the room of " << room;
    }
    return std::string(raw.data() + GUARD, room);
}

// The expected contents of a formatter's room: the text and its NUL.
std::string WithNul(const std::string& text)
{
    return text + '\0';
}

struct Parsed {
    uint32_t result;
    Bytes stored;
};

// Runs a byte parser on a destination of maxCount bytes with guard bytes on
// both sides. Checks that the result is within the maximum and that nothing
// was written outside the bytes the result counts.
template <typename Parse>
Parsed ParsedBytes(const char* text, uint32_t maxCount, Parse parse)
{
    Bytes raw(GUARD + maxCount + GUARD, GUARD_BYTE);
    const uint32_t result = parse(text, raw.data() + GUARD, maxCount);
    EXPECT_LE(result, maxCount);
    const size_t end = GUARD + (result <= maxCount ? result : maxCount);
    for (size_t i = 0; i < raw.size(); ++i) {
        if (i < GUARD || i >= end) {
            EXPECT_EQ(raw[i], GUARD_BYTE) << "byte " << static_cast<long>(i) - static_cast<long>(GUARD)
                                          << " written, " << result << " counted, maximum " << maxCount;
        }
    }
    return {result, Bytes(raw.begin() + GUARD, raw.begin() + end)};
}

int32_t I32(uint32_t bits)
{
    return static_cast<int32_t>(bits);
}

// ---------------------------------------------------------------- hex numbers

TEST(FormatHexNumber, DigitsSignFillAndExactRoom)
{
    struct Case {
        int32_t value;
        int digits;
        std::string text;
    };
    const Case cases[] = {
        {0x1234ABCD, 8, "1234ABCD"},
        {0x1F, 2, "1F"},
        {0x1F, 4, "001F"},
        {0xABD, 1, "D"},                              // only the low digits show
        {0x1234, 0, ""},
        {0, 8, "00000000"},
        {I32(0xFEDCBA98), 8, "FEDCBA98"},
        {-1, 3, "FFF"},
        {I32(0x80000000), 10, "FF80000000"},          // negative: F fill
        {0x7FFFFFFF, 10, "007FFFFFFF"},               // positive: 0 fill
        {-2, 16, "FFFFFFFFFFFFFFFE"},
        {0x12345678, 12, "000012345678"},
        {I32(0x80000001), 40, std::string(32, 'F') + "80000001"},
        {0x55, -1, ""},                               // negative digits: only the NUL
        {0x55, I32(0x80000000), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "0x" << std::hex << static_cast<uint32_t>(c.value)
                                        << std::dec << " with " << c.digits << " digits");
        const size_t room = c.digits > 0 ? static_cast<size_t>(c.digits) + 1 : 1;
        EXPECT_EQ(Written(room, [&](char* dest) { FormatHexNumber(dest, c.value, c.digits); }),
                  WithNul(c.text));
    }
}

TEST(ParseHexNumber, AcceptedTexts)
{
    struct Case {
        const char* text;
        uint32_t value;
    };
    const Case cases[] = {
        {"0", 0},
        {"ff", 255},
        {"FF", 255},
        {"fF", 255},
        {"89ABCDEF", 0x89ABCDEF},
        {"89abcdef", 0x89ABCDEF},
        {"123456789", 0x23456789},     // more than 8 digits: the last 8 count
        {"1FFFFFFFF", 0xFFFFFFFF},
        {"0000000000000010", 0x10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Shown(c.text));
        uint32_t value = 0xA5A5A5A5;
        EXPECT_TRUE(ParseHexNumber(c.text, &value));
        EXPECT_EQ(value, c.value);
    }
}

TEST(ParseHexNumber, RefusedTextsLeaveTheValue)
{
    const char* const texts[] = {
        "", " 10", "10 ", "0x10", "10h", "g", "-1", "+1", "1\t", "12G4",
        "\x82", "1\x82", "\x82" "1", "\xA6",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(Shown(text));
        uint32_t value = 0xA5A5A5A5;
        EXPECT_FALSE(ParseHexNumber(text, &value));
        EXPECT_EQ(value, 0xA5A5A5A5u);
    }
}

TEST(ParseHexNumber, ReadsBackEightDigitFormattedText)
{
    const uint32_t values[] = {0, 1, 0x10, 0x7FFFFFFF, 0x80000000, 0x89ABCDEF, 0xFFFFFFF0, 0xFFFFFFFF};
    for (uint32_t v : values) {
        char printed[16];
        std::snprintf(printed, sizeof printed, "%08X", static_cast<unsigned>(v));
        SCOPED_TRACE(printed);
        char formatted[9];
        FormatHexNumber(formatted, I32(v), 8);
        EXPECT_STREQ(formatted, printed);
        uint32_t value = ~v;
        ASSERT_TRUE(ParseHexNumber(printed, &value));
        EXPECT_EQ(value, v);
    }
}

// ------------------------------------------------------------ decimal numbers

TEST(ParseDecimal, AcceptedTextsWrapModulo32Bits)
{
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {"+", 0},                           // a lone sign reads as 0
        {"-", 0},
        {"-0", 0},
        {"0", 0},
        {"+5", 5},
        {"-5", -5},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483647", -2147483647},
        {"4294967295", -1},
        {"4294967296", 0},
        {"2147483648", I32(0x80000000)},
        {"-2147483648", I32(0x80000000)},
        {"-4294967295", 1},
        {"99999999999", 1215752191},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Shown(c.text));
        int32_t value = I32(0xA5A5A5A5);
        EXPECT_TRUE(ParseDecimal(c.text, &value));
        EXPECT_EQ(value, c.value);
    }
}

TEST(ParseDecimal, RefusedTextsLeaveTheValue)
{
    const char* const texts[] = {
        "", " 5", "5 ", "1e3", "--5", "+-5", "-+5", "5-", "0x10", "12a", "1,000",
        "\x82", "-\x82", "1\x82", "\xB0" "5", "\xDB",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(Shown(text));
        int32_t value = I32(0xA5A5A5A5);
        EXPECT_FALSE(ParseDecimal(text, &value));
        EXPECT_EQ(value, I32(0xA5A5A5A5));
    }
}

TEST(ParseDecimal, ReadsBackSignedFormattedText)
{
    const int32_t values[] = {0, 1, -1, 42, -42, 2147483647, I32(0x80000000), I32(0x80000001)};
    for (int32_t v : values) {
        char printed[16];
        std::snprintf(printed, sizeof printed, "%d", static_cast<int>(v));
        SCOPED_TRACE(printed);
        int32_t value = ~v;
        ASSERT_TRUE(ParseDecimal(printed, &value));
        EXPECT_EQ(value, v);
    }
}

// ------------------------------------------------------------- hex byte lists

TEST(FormatHexBytes, PairsSeparatedBySingleBlanks)
{
    struct Case {
        Bytes bytes;
        std::string text;
    };
    const Case cases[] = {
        {{}, ""},
        {{0x00}, "00"},
        {{0x01, 0xAB, 0xFF}, "01 AB FF"},
        {{0x0F, 0xF0, 0x80, 0x7F}, "0F F0 80 7F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const uint32_t count = static_cast<uint32_t>(c.bytes.size());
        const size_t room = count == 0 ? 1 : 3 * count;
        EXPECT_EQ(Written(room, [&](char* dest) { FormatHexBytes(dest, c.bytes.data(), count); }),
                  WithNul(c.text));
    }
}

TEST(ParseHexBytes, PairsLoneDigitsAndStops)
{
    struct Case {
        const char* text;
        uint32_t maxCount;
        Bytes bytes;
    };
    const Case cases[] = {
        {"1 2 3", 16, {0x01, 0x02, 0x03}},
        {"123", 16, {0x12, 0x03}},
        {"12 3G", 16, {0x12}},               // the 3 glued to G is dropped
        {"", 16, {}},
        {" ", 16, {}},
        {"12  ", 16, {0x12}},
        {"  12", 16, {0x12}},
        {"ABC", 16, {0xAB, 0x0C}},
        {"a b", 16, {0x0A, 0x0B}},
        {"12\t34", 16, {0x12, 0x34}},
        {"0x12", 16, {}},
        {"1,2", 16, {}},
        {"12,34", 16, {0x12}},
        {"11 22 33", 2, {0x11, 0x22}},
        {"aB cD Ef", 16, {0xAB, 0xCD, 0xEF}},
        {"12 \t 34\t", 16, {0x12, 0x34}},
        {"1234567", 16, {0x12, 0x34, 0x56, 0x07}},
        {"12 345", 16, {0x12, 0x34, 0x05}},
        {"1\n2\r3\x01" "4", 16, {0x01, 0x02, 0x03, 0x04}}, // a control character ends a lone digit
        {"12\n34", 16, {0x12}},              // but cannot start a byte
        {"\n12", 16, {}},
        {"1\x82", 16, {}},                   // a byte from 0x80 up is no separator
        {"12\x82" "34", 16, {0x12}},
        {"\x82\xA0", 16, {}},
        {"1 2 3", 0, {}},
        {"12 34", 1, {0x12}},
        {"123456", 2, {0x12, 0x34}},
        {"1 2 3 ", 3, {0x01, 0x02, 0x03}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Shown(c.text) << " maximum " << c.maxCount);
        const Parsed parsed = ParsedBytes(c.text, c.maxCount, ParseHexBytes);
        EXPECT_EQ(parsed.result, c.bytes.size());
        EXPECT_EQ(parsed.stored, c.bytes);
    }
}

TEST(ParseHexBytes, LongTextStopsAtTheMaximum)
{
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "5A ";
    const uint32_t maxima[] = {0, 1, 16, 170, 199, 200, 201, 4096};
    for (uint32_t maxCount : maxima) {
        SCOPED_TRACE(testing::Message() << "maximum " << maxCount);
        const Parsed parsed = ParsedBytes(text.c_str(), maxCount, ParseHexBytes);
        const uint32_t expected = maxCount < 200 ? maxCount : 200;
        EXPECT_EQ(parsed.result, expected);
        EXPECT_EQ(parsed.stored, Bytes(expected, 0x5A));
    }
}

TEST(HexBytes, EveryByteValueFormatsUppercaseAndParsesBack)
{
    Bytes all(256);
    std::string expected;
    for (int b = 0; b < 256; ++b) {
        all[b] = static_cast<uint8_t>(b);
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", b);
        expected += (b == 0 ? "" : " ") + std::string(pair);
    }
    const std::string room = Written(3 * 256, [&](char* dest) { FormatHexBytes(dest, all.data(), 256); });
    EXPECT_EQ(room, WithNul(expected));

    const Parsed parsed = ParsedBytes(room.c_str(), 256, ParseHexBytes);
    EXPECT_EQ(parsed.result, 256u);
    EXPECT_EQ(parsed.stored, all);

    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        char one[3];
        FormatHexBytes(one, &all[b], 1);
        EXPECT_EQ(ParsedBytes(one, 1, ParseHexBytes).stored, Bytes{all[b]});
    }
}

// -------------------------------------------------- digits, signs, high bytes

TEST(Codecs, OnlyAsciiDigitsAndSignsAreAccepted)
{
    for (int c = 1; c < 256; ++c) {
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << c);
        const bool hex = std::strchr("0123456789ABCDEFabcdef", c) != nullptr;
        const bool decimal = c >= '0' && c <= '9';
        const bool sign = c == '+' || c == '-';
        const char alone[2] = {static_cast<char>(c), '\0'};

        uint32_t hexValue = 0xA5A5A5A5;
        EXPECT_EQ(ParseHexNumber(alone, &hexValue), hex);
        if (!hex) {
            EXPECT_EQ(hexValue, 0xA5A5A5A5u);
        }

        int32_t decimalValue = I32(0xA5A5A5A5);
        EXPECT_EQ(ParseDecimal(alone, &decimalValue), decimal || sign);
        if (!decimal && !sign) {
            EXPECT_EQ(decimalValue, I32(0xA5A5A5A5));
        }

        EXPECT_EQ(ParsedBytes(alone, 16, ParseHexBytes).result, hex ? 1u : 0u);
    }
}

TEST(Codecs, HighBytesAreNeverDigitsSignsOrSeparators)
{
    for (int c = 0x80; c < 256; ++c) {
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << c);
        const char h = static_cast<char>(c);
        const std::string afterDigit = {'1', h};
        const std::string asSign = {h, '5'};
        const std::string asSeparator = {'1', '2', h, '3', '4'};

        uint32_t hexValue = 0xA5A5A5A5;
        EXPECT_FALSE(ParseHexNumber(afterDigit.c_str(), &hexValue));
        EXPECT_EQ(hexValue, 0xA5A5A5A5u);

        int32_t decimalValue = I32(0xA5A5A5A5);
        EXPECT_FALSE(ParseDecimal(asSign.c_str(), &decimalValue));
        EXPECT_FALSE(ParseDecimal(afterDigit.c_str(), &decimalValue));
        EXPECT_EQ(decimalValue, I32(0xA5A5A5A5));

        EXPECT_EQ(ParsedBytes(afterDigit.c_str(), 16, ParseHexBytes).result, 0u);
        EXPECT_EQ(ParsedBytes(asSeparator.c_str(), 16, ParseHexBytes).stored, Bytes{0x12});
    }
}

// ------------------------------------------------------------- printable text

TEST(FormatPrintable, ControlBytesBecomeDotsOthersStay)
{
    struct Case {
        Bytes bytes;
        std::string text;
    };
    const Case cases[] = {
        {{}, ""},
        {{0x00, 0x1F, 0x20, 0x41}, ".. A"},
        {{0x7F, 0x80, 0xFF}, "\x7F\x80\xFF"},
        {{0x2E}, "."},
        {{0x0D, 0x0A, 0x09, 0x82, 0xA0}, "...\x82\xA0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Shown(c.text.c_str()));
        const uint32_t count = static_cast<uint32_t>(c.bytes.size());
        EXPECT_EQ(Written(count + 1, [&](char* dest) { FormatPrintable(dest, c.bytes.data(), count); }),
                  WithNul(c.text));
    }
}

// ------------------------------------------------- the decimal pattern's bytes

TEST(LittleEndian32, LeastSignificantByteFirstBothWays)
{
    struct Case {
        uint32_t value;
        Bytes bytes;
    };
    const Case cases[] = {
        {0, {0x00, 0x00, 0x00, 0x00}},
        {1, {0x01, 0x00, 0x00, 0x00}},
        {0x12345678, {0x78, 0x56, 0x34, 0x12}},
        {0x7FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
        {0x80000000, {0x00, 0x00, 0x00, 0x80}}, // -2147483648
        {0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF}}, // -1
        {0x00800080, {0x80, 0x00, 0x80, 0x00}}, // high bits within bytes stay in them
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << "value 0x" << c.value);
        Bytes written(6, 0xA5); // a byte before and after the four
        WriteLittleEndian32(written.data() + 1, c.value);
        Bytes expected = {0xA5};
        expected.insert(expected.end(), c.bytes.begin(), c.bytes.end());
        expected.push_back(0xA5);
        EXPECT_EQ(written, expected);
        EXPECT_EQ(ReadLittleEndian32(c.bytes.data()), c.value);
    }
}

} // namespace
