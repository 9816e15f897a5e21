// FormatPrintable on arbitrary bytes.
//
// Input: the bytes, shown once as printable text.
#include "dump/codecs.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// The bytes shown in count + 1 bytes: a byte below 0x20 as '.', any other
// unchanged, then the NUL.
void CheckPrintable(const uint8_t* bytes, uint32_t count)
{
    Block room(size_t{count} + 1);
    FormatPrintable(room.chars(), bytes, count);
    FUZZ_CHECK(room.bytes()[count] == 0);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t shown = room.bytes()[i];
        FUZZ_CHECK(shown >= 0x20);
        FUZZ_CHECK(shown == (bytes[i] >= 0x20 ? bytes[i] : '.'));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckPrintable(data, static_cast<uint32_t>(size));
    return 0;
}
