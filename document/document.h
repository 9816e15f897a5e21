// document.h - the one open file: its handle and size, the 32 KiB window of
// its bytes at topOffset, the modified flag and the scroll mapping; opening,
// positioned reads and writes, saving and the save question.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr uint32_t WINDOW_SIZE = 32768;     // bytes of the file kept in memory
constexpr uint32_t PATH_BUFFER_SIZE = 512;  // every path buffer: 511 bytes + NUL

struct Document {
    HANDLE fileHandle;    // null while no document is open
    uint32_t fileSize;    // low 32 bits of the size found at opening
    uint32_t topOffset;   // offset of windowBuffer[0]; a multiple of 16
    uint8_t windowBuffer[WINDOW_SIZE];
    // Bytes at the start of windowBuffer that hold the file's bytes at
    // topOffset (edited or not). Anything after them is not file data: it is
    // neither shown nor saved.
    uint32_t validCount;
    int modified;         // 1 while the window holds unsaved edits
    uint32_t scrollShift; // offset >> scrollShift = scroll-bar position
    // The window's edited bytes since it was read: from editedFirst up to
    // editedEnd (exclusive); none while they are equal. A save writes these
    // and nothing else, so that it never puts back bytes that another
    // program changed meanwhile.
    uint32_t editedFirst;
    uint32_t editedEnd;
};

extern Document document;

// The platform's file calls that the transfers go through, so that tests can
// make a seek, a read, a write or the size query fail or come back short.
struct FileCalls {
    decltype(&SetFilePointerEx) seek;
    decltype(&ReadFile) read;
    decltype(&WriteFile) write;
    decltype(&GetFileSizeEx) size;
};

extern FileCalls fileCalls;

// Opens an existing file for reading and writing, or for reading only when
// writing is refused or readOnly is asked. When sizeOut is not null it first
// receives the low 32 bits of the size found in the directory (0xFFFFFFFF if
// none is found). Returns the handle, or null.
HANDLE FileOpen(const char* path, uint32_t* sizeOut, bool readOnly = false);

// Read or write up to count bytes at offset, never at or beyond fileSize.
// A write is also cut at the file's present end, should the file have
// shrunk since it was opened: a save never makes a file longer.
// Returns 1 and stores the count transferred in *countOut (when not null),
// or 0 when the handle is null, offset is not below the limit, or the seek,
// the size query or the transfer fails; *countOut is then untouched.
int FileReadAt(HANDLE handle, uint32_t fileSize, uint32_t offset, void* buffer,
               uint32_t count, uint32_t* countOut);
int FileWriteAt(HANDLE handle, uint32_t fileSize, uint32_t offset, const void* buffer,
                uint32_t count, uint32_t* countOut);

// Reads the window at topOffset. validCount becomes the number of bytes
// read; a refused or failed read leaves it 0. Forgets the edited bytes.
// Does not render.
void ReloadWindow();

// Notes that count bytes of the window from index on were changed, so that
// the next save writes them (together with the others edited since the
// window was read, as one range).
void NoteEdited(uint32_t index, uint32_t count);

// Clears modified, then writes the edited bytes of the window, as far as
// they lie within validCount, back at their offsets; nothing when none was
// edited. Returns 1 when all of them were written (or there were none),
// and then forgets them; 0 when no document is open or the write failed or
// came back short, and keeps them for a later save.
int SaveWindow();

// SaveWindow, and a warning box owned by owner when an open document could
// not be written.
void SaveAndReport(HWND owner);

// Clears modified, then asks whether to save the window (Yes saves it).
void PromptSave(HWND owner);

// Closes the open file, opens path (at most 511 bytes) and shows it from
// offset 0 in window's view, with "<base name> - VUKO" as the title. When
// the file cannot be opened, the title is the product name alone and no
// document is open. With readOnly the file is opened for reading only, so
// that every save of it fails.
void OpenDocument(HWND window, const char* path, bool readOnly = false);
