// The view text: DumpByteCount, FormatHeaderLine, FormatDumpLines and
// BuildViewText on arbitrary offsets, sizes, headers and bytes.
//
// Input: 4 bytes, the top offset; 4 bytes, the file size; 1 byte, the header
// length, and that many header bytes; then the body, the window bytes that
// were read (validCount is its size). The count shown is what DumpByteCount
// gives for them, as when the view is drawn.
#include "dump/codecs.h"
#include "dump/dump_text.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

uint32_t ReferenceByteCount(uint32_t fileSize, uint32_t topOffset, uint32_t validCount)
{
    const uint64_t left = topOffset < fileSize ? uint64_t{fileSize} - topOffset : 0;
    uint64_t count = left < VIEW_BYTES ? left : VIEW_BYTES;
    if (count > validCount)
        count = validCount;
    return static_cast<uint32_t>(count);
}

// columns from..to - 1 of line as a text of their own.
std::string Columns(const char* line, uint32_t from, uint32_t to)
{
    return std::string(line + from, to - from);
}

// The header line in its 80 bytes: the header's first 77 bytes, blanks, CR
// LF and the NUL.
void CheckHeaderLine(const char* header, const char* line)
{
    const size_t length = strnlen(header, LINE_COLUMNS);
    FUZZ_CHECK(std::memcmp(line, header, length) == 0);
    FUZZ_CHECK(Columns(line, static_cast<uint32_t>(length), LINE_COLUMNS) ==
               std::string(LINE_COLUMNS - length, ' '));
    FUZZ_CHECK(std::memcmp(line + LINE_COLUMNS, "\r\n", 3) == 0);
}

// One dump line of 79 bytes for the n bytes (1 to 16) at offset: no control
// byte but its CR LF, the offset and the hex pairs reading back, the bytes
// shown printable, blanks between.
void CheckDumpLine(const char* line, uint32_t offset, const uint8_t* bytes, uint32_t n)
{
    for (uint32_t column = 0; column < LINE_COLUMNS; ++column)
        FUZZ_CHECK(static_cast<unsigned char>(line[column]) >= 0x20);
    FUZZ_CHECK(line[LINE_COLUMNS] == '\r' && line[LINE_COLUMNS + 1] == '\n');

    // Columns 0 to 10: a blank, the offset in 8 digits, two blanks.
    const std::string offsetText = Columns(line, 1, 9);
    uint32_t shownOffset = ~offset;
    FUZZ_CHECK(ParseHexNumber(offsetText.c_str(), &shownOffset) == 1 && shownOffset == offset);
    FUZZ_CHECK(Columns(line, 0, 1) + Columns(line, 9, 11) == "   ");

    // Columns 11 to 58: the pairs as FormatHexBytes writes them, then blanks;
    // they read back to the bytes and to no more.
    Block pairs(3 * size_t{n});
    FormatHexBytes(pairs.chars(), bytes, n);
    const std::string hex = Columns(line, 11, 59);
    FUZZ_CHECK(hex == TextOf(pairs) + std::string(48 - (3 * n - 1), ' '));
    Block parsed(LINE_BYTES + 1);
    FUZZ_CHECK(ParseHexBytes(hex.c_str(), parsed.bytes(), LINE_BYTES + 1) == n);
    FUZZ_CHECK(std::memcmp(parsed.bytes(), bytes, n) == 0);

    // Column 59 a blank, 60 to 75 the bytes as FormatPrintable shows them,
    // then blanks to column 76.
    Block printable(size_t{n} + 1);
    FormatPrintable(printable.chars(), bytes, n);
    FUZZ_CHECK(Columns(line, 59, LINE_COLUMNS) == " " + TextOf(printable) + std::string(17 - n, ' '));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input input(data, size);
    const uint32_t topOffset = input.Take(4);
    const uint32_t fileSize = input.Take(4);
    size_t headerSize = input.Take(1);
    const uint8_t* headerBytes = input.TakeBytes(&headerSize);
    Block header = Text(headerBytes, headerSize);
    Block window(input.bodySize());
    if (input.bodySize() != 0)
        std::memcpy(window.bytes(), input.body(), input.bodySize());
    const auto validCount = static_cast<uint32_t>(input.bodySize());

    const uint32_t count = DumpByteCount(fileSize, topOffset, validCount);
    FUZZ_CHECK(count == ReferenceByteCount(fileSize, topOffset, validCount));

    Block headerLine(LINE_LENGTH + 1);
    FormatHeaderLine(headerLine.chars(), header.chars());
    CheckHeaderLine(header.chars(), headerLine.chars());

    // A count of 0 writes nothing into the byte it is given.
    const uint32_t lines = (count + LINE_BYTES - 1) / LINE_BYTES;
    Block dump(size_t{lines} * LINE_LENGTH + 1);
    FormatDumpLines(dump.chars(), topOffset, window.bytes(), count);
    if (count == 0) {
        FUZZ_CHECK(dump.bytes()[0] == 0xA5);
    } else {
        FUZZ_CHECK(TextOf(dump).size() == size_t{lines} * LINE_LENGTH);
        for (uint32_t j = 0; j < lines; ++j) {
            const uint32_t left = count - j * LINE_BYTES;
            CheckDumpLine(dump.chars() + j * LINE_LENGTH, topOffset + j * LINE_BYTES,
                          window.bytes() + j * LINE_BYTES, left < LINE_BYTES ? left : LINE_BYTES);
        }
    }

    // The view text is the header line, then the dump lines and their NUL.
    Block view(VIEW_TEXT_SIZE);
    BuildViewText(view.chars(), header.chars(), topOffset, window.bytes(), count);
    const size_t dumpLength = size_t{lines} * LINE_LENGTH;
    FUZZ_CHECK(std::memcmp(view.bytes(), headerLine.bytes(), LINE_LENGTH) == 0);
    FUZZ_CHECK(std::memcmp(view.bytes() + LINE_LENGTH, dump.bytes(), dumpLength) == 0);
    FUZZ_CHECK(view.bytes()[LINE_LENGTH + dumpLength] == 0);
    return 0;
}
