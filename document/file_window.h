// file_window.h - the window: the part of the open file that the program
// keeps in memory, shows and edits; and how far a transfer at an offset may
// go before the end of the file.
#pragma once

#include <cstdint>

constexpr uint32_t WINDOW_SIZE = 32768; // bytes of the file kept in memory

// Clips count, the bytes of a transfer at offset, to what lies before end,
// the file's size; false, count unchanged, when offset is not below end.
bool ClipToEnd(int64_t end, uint32_t offset, uint32_t& count);
