// box_characters_932.h - the input box's characters in code page 932 as the
// box under Wine hands them back, for the tests of the text store without a
// window: lead bytes 81-9F and E0-FC; a lead byte without a trail byte, or
// with a byte that cannot follow one, comes back as the character U+30FB
// (81 45); every other character comes back as it was given.
#pragma once

#include "ui/edit_answer.h"

inline uint32_t HandBack932(const char* chars, uint32_t length, char* back)
{
    const auto lead = static_cast<uint8_t>(chars[0]);
    const bool isLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    if (isLead) {
        const auto trail = length == 2 ? static_cast<uint8_t>(chars[1]) : 0;
        if ((trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC)) {
            back[0] = chars[0];
            back[1] = chars[1];
            return 2;
        }
        back[0] = '\x81';
        back[1] = '\x45';
        return 2;
    }
    for (uint32_t i = 0; i < length; ++i)
        back[i] = chars[i];
    return length;
}

inline BoxCharacters MakeBoxCharacters932()
{
    BoxCharacters box = {};
    for (int byte = 0; byte < 256; ++byte)
        box.leadByte[byte] = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    box.handBack = HandBack932;
    return box;
}
