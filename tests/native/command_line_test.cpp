// Picking the file name out of the command-line text.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Token(const std::string& text, int n, size_t capacity = 512)
{
    std::string buffer(capacity + 1, '#');
    ExtractArgument(buffer.data(), capacity, text.c_str(), n);
    return buffer.substr(0, buffer.find('\0'));
}

TEST(ExtractArgument, Tokens)
{
    struct Case {
        const char* name;
        const char* text;
        int n;
        const char* expected;
    };
    const Case cases[] = {
        {"plain", "data.bin", 1, "data.bin"},
        {"quoted with blanks", "\"my data.bin\" other", 1, "my data.bin"},
        {"second of two words", "one two", 2, "two"},
        {"only the first of two", "one two", 1, "one"},
        {"glued after quote: first", "\"a b\"cd", 1, "a b"},
        {"glued after quote: second", "\"a b\"cd", 2, "cd"},
        {"quotes inside unquoted", "ab\"c d\"", 1, "ab\"c"},
        {"quotes inside unquoted, rest", "ab\"c d\"", 2, "d\""},
        {"unclosed quote", "\"a b c", 1, "a b c"},
        {"empty quoted token", "\"\" next", 1, ""},
        {"after empty quoted token", "\"\" next", 2, "next"},
        {"leading blanks and tabs", " \t\t x.bin", 1, "x.bin"},
        {"tab separates", "a\tb", 2, "b"},
        {"absent token", "a", 2, ""},
        {"empty text", "", 1, ""},
        {"only blanks", "  \t ", 1, ""},
        {"token number 0", "a b", 0, ""},
        {"negative token number", "a b", -3, ""},
        {"cp932 name with 0x5C trail byte", "\"C:\\\x95\x5C.bin\"", 1, "C:\\\x95\x5C.bin"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Token(c.text, c.n), c.expected) << c.name;
}

TEST(ExtractArgument, CutAtCapacity)
{
    const std::string longName(600, 'n');
    EXPECT_EQ(Token(longName + " next", 1), std::string(511, 'n'));
    EXPECT_EQ(Token(longName + " next", 2), "next");
    EXPECT_EQ(Token("\"" + longName + "\"", 1, 4), "nnn");
    EXPECT_EQ(Token("abc", 1, 1), "");
}

} // namespace
