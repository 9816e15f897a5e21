// edit_answer.cpp - caret to byte, bytes shown, text answers.
#include "ui/edit_answer.h"

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

uint32_t EditShownCount(uint32_t fileSize, uint32_t topOffset, uint32_t validCount, uint32_t index,
                        uint32_t limit)
{
    if (topOffset >= fileSize || index >= validCount || index >= fileSize - topOffset)
        return 0;
    uint32_t count = fileSize - topOffset - index;
    if (count > validCount - index)
        count = validCount - index;
    return count < limit ? count : limit;
}

uint32_t EditRoom(uint32_t validCount, uint32_t index)
{
    return index < validCount ? validCount - index : 0;
}

namespace {

// One character of a box's initial text: where its bytes start in the
// shown bytes, how many they are, and what the box hands back for it.
struct ShownCharacter {
    uint32_t start;
    uint32_t length;
    uint32_t backLength;
    char back[HANDED_BACK_MOST];
};

// The answer of a box, walked one character at a time.
class AnswerText {
public:
    AnswerText(const char* text, const BoxCharacters& box) : text_(text), box_(box)
    {
        while (text_[length_] != '\0')
            ++length_;
    }
    uint32_t length() const { return length_; }
    uint8_t at(uint32_t i) const { return static_cast<uint8_t>(text_[i]); }
    // Bytes of the character that starts at i: two for a lead byte that a
    // byte follows, else one.
    uint32_t CharacterLength(uint32_t i) const
    {
        return box_.leadByte[at(i)] && i + 1 < length_ ? 2 : 1;
    }
    // Whether a character starts at target, walking from from, where one
    // starts.
    bool StartsAt(uint32_t from, uint32_t target) const
    {
        while (from < target)
            from += CharacterLength(from);
        return from == target;
    }
    // Whether the answer holds c's handed-back bytes from i on, as whole
    // characters, ending at or before end. A character starts at i.
    bool Holds(uint32_t i, uint32_t end, const ShownCharacter& c) const
    {
        if (c.backLength == 0 || c.backLength > end - i)
            return false;
        for (uint32_t k = 0; k < c.backLength; ++k) {
            if (at(i + k) != static_cast<uint8_t>(c.back[k]))
                return false;
        }
        return StartsAt(i, i + c.backLength);
    }

private:
    const char* text_;
    const BoxCharacters& box_;
    uint32_t length_ = 0;
};

// The shown bytes and the characters the box showed them as, kept apart
// from dest, which the answer overwrites.
struct ShownText {
    uint8_t original[TEXT_SHOWN_MOST];
    ShownCharacter characters[TEXT_SHOWN_MOST];
    uint32_t count; // characters
};

// Reads the shown bytes of dest into shown: each byte, and each character
// of the text they were shown as with what the box hands back for it.
void ReadShown(const uint8_t* dest, uint32_t shownBytes, const BoxCharacters& box, ShownText& shown)
{
    uint8_t text[TEXT_SHOWN_MOST];
    for (uint32_t i = 0; i < shownBytes; ++i) {
        shown.original[i] = dest[i];
        text[i] = static_cast<uint8_t>(ShownAs(dest[i]));
    }
    shown.count = 0;
    for (uint32_t i = 0; i < shownBytes; i += shown.characters[shown.count++].length) {
        ShownCharacter& c = shown.characters[shown.count];
        c.start = i;
        c.length = box.leadByte[text[i]] && i + 1 < shownBytes ? 2 : 1;
        const uint32_t handed =
            box.handBack(reinterpret_cast<const char*>(text + i), c.length, c.back);
        c.backLength = handed < HANDED_BACK_MOST ? handed : HANDED_BACK_MOST;
    }
}

// The characters the answer begins with (front of them, up to the answer's
// byte frontEnd) and ends with (tail of them, from tailStart) as the box
// had them; the ends do not overlap the beginning.
struct AnswerEnds {
    uint32_t front, frontEnd;
    uint32_t tail, tailStart;
};

AnswerEnds FindEnds(const AnswerText& typed, const ShownText& shown)
{
    const ShownCharacter* characters = shown.characters;
    const uint32_t count = shown.count;
    AnswerEnds ends = {0, 0, 0, typed.length()};
    while (ends.front < count && typed.Holds(ends.frontEnd, typed.length(), characters[ends.front]))
        ends.frontEnd += characters[ends.front++].backLength;
    while (count - ends.tail > ends.front) {
        const ShownCharacter& c = characters[count - 1 - ends.tail];
        if (c.backLength == 0 || c.backLength > ends.tailStart - ends.frontEnd ||
            !typed.StartsAt(ends.frontEnd, ends.tailStart - c.backLength) ||
            !typed.Holds(ends.tailStart - c.backLength, ends.tailStart, c))
            break;
        ends.tailStart -= c.backLength;
        ++ends.tail;
    }
    return ends;
}

// Stores the answer from dest[0] on, at most room bytes: the shown bytes of
// the characters left alone, the answer's own bytes for the others.
// Returns the count stored.
uint32_t StoreAnswer(const AnswerText& typed, const ShownText& shown, const AnswerEnds& ends,
                     uint8_t* dest, uint32_t room)
{
    const ShownCharacter* characters = shown.characters;
    const uint32_t count = shown.count;
    uint32_t stored = 0;
    auto put = [&](uint8_t byte) {
        if (stored < room)
            dest[stored++] = byte;
    };
    auto putShown = [&](const ShownCharacter& c) {
        for (uint32_t k = 0; k < c.length; ++k)
            put(shown.original[c.start + k]);
    };
    for (uint32_t k = 0; k < ends.front; ++k)
        putShown(characters[k]);
    // In between, character by character: left alone where the answer holds
    // what the box had at the same count of characters.
    uint32_t k = ends.front;
    for (uint32_t i = ends.frontEnd; i < ends.tailStart; ++k) {
        if (k < count - ends.tail && typed.Holds(i, ends.tailStart, characters[k])) {
            putShown(characters[k]);
            i += characters[k].backLength;
        } else {
            const uint32_t length = typed.CharacterLength(i);
            for (uint32_t n = 0; n < length && i < ends.tailStart; ++n)
                put(typed.at(i++));
        }
    }
    for (uint32_t j = count - ends.tail; j < count; ++j)
        putShown(characters[j]);
    return stored;
}

} // namespace

uint32_t StoreTextAnswer(const char* answer, uint32_t shown, const BoxCharacters& box,
                         uint8_t* dest, uint32_t room)
{
    if (shown > TEXT_SHOWN_MOST)
        shown = TEXT_SHOWN_MOST;
    if (shown > room)
        shown = room;
    ShownText shownText;
    ReadShown(dest, shown, box, shownText);
    const AnswerText typed(answer, box);
    return StoreAnswer(typed, shownText, FindEnds(typed, shownText), dest, room);
}
