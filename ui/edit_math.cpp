// edit_math.cpp - caret to byte, bytes shown, text answers.
#include "ui/edit_math.h"

#include "dump/dump_text.h"

namespace {

// Zones of a dump line by the caret's column.
constexpr uint32_t HEX_FIRST = 10; // the blank before the first pair
constexpr uint32_t HEX_LAST = 57;  // between the digits of the last pair
constexpr uint32_t TEXT_FIRST = 60;
constexpr uint32_t TEXT_LAST = 75;

} // namespace

CaretChoice ChooseByteAtCaret(uint32_t start, uint32_t end)
{
    if (end != start || start < LINE_LENGTH)
        return {ZONE_NONE, 0};
    const uint32_t lineStart = (start / LINE_LENGTH - 1) * LINE_BYTES;
    const uint32_t column = start % LINE_LENGTH;
    if (column >= HEX_FIRST && column <= HEX_LAST)
        return {ZONE_HEX, lineStart + (column - HEX_FIRST) / 3};
    if (column >= TEXT_FIRST && column <= TEXT_LAST)
        return {ZONE_TEXT, lineStart + (column - TEXT_FIRST)};
    return {ZONE_NONE, 0};
}

uint32_t EditShownCount(uint32_t fileSize, uint32_t topOffset, uint32_t validCount,
                        uint32_t index, uint32_t limit)
{
    if (topOffset >= fileSize || index >= validCount || index >= fileSize - topOffset)
        return 0;
    uint32_t count = fileSize - topOffset - index;
    if (count > validCount - index)
        count = validCount - index;
    return count < limit ? count : limit;
}

uint32_t StoreTextAnswer(const char* text, const char* untouched, uint8_t* dest, uint32_t room)
{
    bool beyondUntouched = false;
    uint32_t stored = 0;
    for (; stored < room && text[stored] != '\0'; ++stored) {
        beyondUntouched = beyondUntouched || untouched[stored] == '\0';
        if (beyondUntouched || text[stored] != untouched[stored])
            dest[stored] = static_cast<uint8_t>(text[stored]);
        else if (dest[stored] < 0x20)
            dest[stored] = '.'; // the dot it was shown as
    }
    return stored;
}
