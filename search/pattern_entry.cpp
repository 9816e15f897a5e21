// pattern_entry.cpp - entering the search pattern in hexadecimal, as text
// or as a decimal number.
#include "dump/codecs.h"
#include "resources/instance.h"
#include "resources/resource.h"
#include "search/search.h"
#include "ui/input_box.h"

namespace {

constexpr uint32_t PATTERN_TEXT_SIZE = 512; // hexadecimal and text prompts
// The most pattern bytes whose pairs, blanks and NUL fit the text buffer.
constexpr uint32_t HEX_SHOWN = PATTERN_TEXT_SIZE / 3;
constexpr uint32_t TEXT_SHOWN = PATTERN_TEXT_SIZE - 1;

uint32_t Shown(uint32_t most)
{
    return SearchPattern.patternLength < most ? SearchPattern.patternLength : most;
}

// Asks with STR_SEARCH as the title and labelId as the label; text carries
// the present pattern in and the answer out. Returns true on OK.
[[nodiscard]] bool AskForPattern(HWND mainWindow, UINT labelId, char* text, uint32_t size)
{
    char title[PATTERN_TEXT_SIZE];
    char label[PATTERN_TEXT_SIZE];
    LoadText(STR_SEARCH, title, sizeof title);
    LoadText(labelId, label, sizeof label);
    return ShowInputBox(mainWindow, title, label, text, size);
}

} // namespace

void EnterHexPattern(HWND mainWindow)
{
    char text[PATTERN_TEXT_SIZE];
    FormatHexBytes(text, SearchPattern.patternBytes, Shown(HEX_SHOWN));
    if (!AskForPattern(mainWindow, STR_ENTER_HEX, text, sizeof text))
        return;
    SearchPattern.patternLength = ParseHexBytes(text, SearchPattern.patternBytes, PATTERN_CAPACITY);
    RunSearch(mainWindow);
}

void EnterTextPattern(HWND mainWindow)
{
    char text[PATTERN_TEXT_SIZE];
    FormatPrintable(text, SearchPattern.patternBytes, Shown(TEXT_SHOWN));
    if (!AskForPattern(mainWindow, STR_ENTER_TEXT, text, sizeof text))
        return;
    SearchPattern.patternLength = StoreTextAnswer(text, Shown(TEXT_SHOWN), InputBoxCharacters(),
                                                  SearchPattern.patternBytes, PATTERN_CAPACITY);
    RunSearch(mainWindow);
}

void EnterDecimalPattern(HWND mainWindow)
{
    char text[TEXT_BUFFER_SIZE];
    wsprintfA(text, "%d", static_cast<int>(ReadLittleEndian32(SearchPattern.patternBytes)));
    if (!AskForPattern(mainWindow, STR_ENTER_DECIMAL, text, sizeof text))
        return;
    int32_t value = 0;
    if (!ParseDecimal(text, &value))
        return;
    WriteLittleEndian32(SearchPattern.patternBytes, static_cast<uint32_t>(value));
    SearchPattern.patternLength = 4;
}
