// ExtractArgument on arbitrary command-line texts, token numbers and
// capacities.
//
// Input: 1 byte, the token number (signed, -128 to 127); 2 bytes, the
// capacity (0 to 1023); then the body, the command-line text.
#include "app/command_line.h"
#include "tests/fuzz/fuzz_input.h"

#include <vector>

namespace {

// The tokens of text as the header of ExtractArgument describes them.
std::vector<std::string> ReferenceTokens(const std::string& text)
{
    std::vector<std::string> tokens;
    size_t at = text.find_first_not_of(" \t");
    while (at != std::string::npos) {
        size_t next;
        if (text[at] == '"') {
            const size_t close = text.find('"', at + 1);
            const size_t end = close == std::string::npos ? text.size() : close;
            tokens.push_back(text.substr(at + 1, end - at - 1));
            next = close == std::string::npos ? text.size() : close + 1;
        } else {
            const size_t end = text.find_first_of(" \t", at);
            next = end == std::string::npos ? text.size() : end;
            tokens.push_back(text.substr(at, next - at));
        }
        at = text.find_first_not_of(" \t", next);
    }
    return tokens;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input input(data, size);
    const int n = static_cast<int8_t>(input.Take(1));
    const size_t capacity = input.Take(2) % 1024;
    Block text = Text(input.body(), input.bodySize());

    // Capacity 0 gets an empty block: any byte written is reported.
    Block dest(capacity);
    ExtractArgument(dest.chars(), capacity, text.chars(), n);
    if (capacity == 0)
        return 0;

    FUZZ_CHECK(std::memchr(dest.bytes(), 0, capacity) != nullptr);
    const std::string result = TextOf(dest);

    const std::string whole = TextOf(text);
    const std::vector<std::string> tokens = ReferenceTokens(whole);
    const std::string token = n >= 1 && static_cast<size_t>(n) <= tokens.size() ? tokens[n - 1] : "";
    FUZZ_CHECK(result == token.substr(0, capacity - 1));

    // The first token holds a blank or a tab only when it was quoted.
    const size_t first = whole.find_first_not_of(" \t");
    if (n == 1 && (first == std::string::npos || whole[first] != '"'))
        FUZZ_CHECK(result.find_first_of(" \t") == std::string::npos);
    return 0;
}
