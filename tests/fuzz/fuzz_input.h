// fuzz_input.h - what the fuzz targets share: fields read from the front of
// the input, heap blocks of exactly the size a routine is promised, and
// stopping the run when a property does not hold.
//
// Every block is its own allocation of exactly the promised size, so that
// AddressSanitizer reports a read or a write one byte before or past it; a
// text is its bytes and one NUL, so that a read past the NUL is reported.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

// Stops the run with the failed condition; libFuzzer keeps the input.
#define FUZZ_CHECK(condition) \
    ((condition) ? void(0) : FuzzFailed(#condition, __FILE__, __LINE__))

[[noreturn]] inline void FuzzFailed(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, condition);
    std::abort();
}

// A heap block of exactly size bytes (an empty allocation for 0), every byte
// set to fill.
class Block {
public:
    explicit Block(size_t size, uint8_t fill = 0xA5) : bytes_(new uint8_t[size]), size_(size)
    {
        std::memset(bytes_.get(), fill, size);
    }
    uint8_t* bytes() { return bytes_.get(); }
    char* chars() { return reinterpret_cast<char*>(bytes_.get()); }
    size_t size() const { return size_; }

private:
    std::unique_ptr<uint8_t[]> bytes_;
    size_t size_;
};

// The bytes as a text: a block of size + 1 bytes, the last one the NUL. The
// bytes may hold NULs of their own; the text then ends at the first.
inline Block Text(const uint8_t* bytes, size_t size)
{
    Block text(size + 1);
    if (size != 0)
        std::memcpy(text.bytes(), bytes, size);
    text.bytes()[size] = 0;
    return text;
}

// The text of a block up to its first NUL (the whole block when it has none).
inline std::string TextOf(Block& block)
{
    const void* nul = std::memchr(block.bytes(), 0, block.size());
    const size_t length = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - block.bytes())
                              : block.size();
    return std::string(block.chars(), length);
}

// Takes little-endian fields from the front of the input; the bytes after
// the last field taken are the body. A field past the end reads as 0.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    // The next `bytes` bytes (1 to 4) as a number.
    uint32_t Take(int bytes)
    {
        uint32_t value = 0;
        for (int k = 0; k < bytes; ++k) {
            if (used_ < size_)
                value |= uint32_t{data_[used_++]} << (8 * k);
        }
        return value;
    }

    // The next count bytes, or fewer at the end; they count as taken.
    const uint8_t* TakeBytes(size_t* count)
    {
        const uint8_t* at = data_ + used_;
        if (*count > size_ - used_)
            *count = size_ - used_;
        used_ += *count;
        return at;
    }

    const uint8_t* body() const { return data_ + used_; }
    size_t bodySize() const { return size_ - used_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t used_ = 0;
};

// Whether c is a hexadecimal digit of either case (nothing from 0x80 up).
inline bool IsHexDigit(unsigned char c)
{
    return c != 0 && std::strchr("0123456789ABCDEFabcdef", c) != nullptr;
}
