// document.h - the one open file: its handle and size, the 32 KiB window of
// its bytes at topOffset, the modified flag and the scroll mapping; opening,
// positioned reads and writes, saving and the save question.
#pragma once

#include "document/edited_bytes.h"

#include <windows.h>

#include <cstdint>

constexpr uint32_t PATH_BUFFER_SIZE = 512; // every path buffer: 511 bytes + NUL

struct Document {
    HANDLE fileHandle; // null while no document is open
    // The size found at opening; a file of 4 GiB or more counts as
    // 0xFFFFFFFF bytes, the most that 32-bit offsets reach.
    uint32_t fileSize;
    uint32_t topOffset; // offset of windowBuffer[0]; a multiple of 16
    uint8_t windowBuffer[WINDOW_SIZE];
    // Bytes at the start of windowBuffer that hold the file's bytes at
    // topOffset (edited or not). Anything after them is not file data: it is
    // neither shown nor saved.
    uint32_t validCount;
    bool modified;        // while the window holds unsaved edits
    uint32_t scrollShift; // offset >> scrollShift = scroll-bar position
    // The window's bytes edited since it was read. A save writes these, each
    // run at its offset, and nothing between them, so that it never puts
    // back bytes that another program changed meanwhile.
    EditedBytes edited;
    // The generation of the open document: every open counts one up, so
    // that a stamp (TakeStamp) tells another file, or the same one opened
    // anew, from the one it was taken for, which a handle's value cannot.
    uint32_t generation;
    // The path the open file was opened by (the title names its last part):
    // a save first checks that it still names the file held open.
    char path[PATH_BUFFER_SIZE];
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

// Closes the open file and forgets everything the document folder keeps
// (the document, an open save question, the scroll state) and puts the
// platform's file calls back, as at start.
void ResetDocumentState();

// Opens an existing file for reading and writing, or for reading only when
// writing is refused or readOnly is asked. When sizeOut is not null it first
// receives the size found in the directory: 0xFFFFFFFF when none is found or
// the file holds 4 GiB or more. Returns the handle, or null.
HANDLE FileOpen(const char* path, uint32_t* sizeOut, bool readOnly = false);

// Read or write up to count bytes at offset, never at or beyond fileSize.
// A write is also cut at the file's present end, should the file have
// shrunk since it was opened: a save never makes a file longer.
// Returns true and stores the count transferred in *countOut (when not
// null), or false when the handle is null, offset is not below the limit,
// or the seek, the size query or the transfer fails; *countOut is then
// untouched.
[[nodiscard]] bool FileReadAt(HANDLE handle, uint32_t fileSize, uint32_t offset, void* buffer,
                              uint32_t count, uint32_t* countOut);
// FileReadAt for a reader that knows that the file position stands at
// offset already, because its own last read ended there and nothing has
// used the handle since: the same clip and result, without the seek.
[[nodiscard]] bool FileReadNext(HANDLE handle, uint32_t fileSize, uint32_t offset, void* buffer,
                                uint32_t count, uint32_t* countOut);
[[nodiscard]] bool FileWriteAt(HANDLE handle, uint32_t fileSize, uint32_t offset,
                               const void* buffer, uint32_t count, uint32_t* countOut);

// Reads the window at topOffset. validCount becomes the number of bytes
// read; a refused or failed read leaves it 0. Forgets the edited bytes and
// clears modified: the window holds nothing but the file's bytes. Does not
// render.
void ReloadWindow();

// Makes top (a line within the open file) the top line: the window is read
// there and the view shows it. The one writer of topOffset, but for the
// open, which starts at 0.
void MoveTopLine(HWND mainWindow, uint32_t top);

// Notes that count bytes of the window from index on were changed, so that
// the next save writes them, and sets modified.
void NoteEdited(uint32_t index, uint32_t count);

// What a routine that runs a message loop (a box, the search's pump) notes
// before it, to tell afterwards whether the window it worked on is still
// the one shown: the same open document, at the same top line.
struct DocumentStamp {
    uint32_t generation;
    uint32_t topOffset;
};
DocumentStamp TakeStamp();
// Whether a document is open and it is the stamp's, at the stamp's top.
bool StillCurrent(const DocumentStamp& stamp);

// Writes the edited bytes of the window, as far as they lie within
// validCount, back at their offsets: each run of them in offset order, and
// nothing between them; nothing when none was edited. Every run written is
// forgotten. Returns true when all were written (or there were none) and
// clears modified; false when a write failed or came back short, or when
// the document's path no longer names the file held open (another program
// replaced or deleted it): the bytes not written stay edited and modified
// is set, so that nothing is lost. With no document open it clears
// modified and returns false.
[[nodiscard]] bool SaveWindow();

// SaveWindow, and a warning box owned by owner when an open document could
// not be written. Returns what SaveWindow returned; the save command, which
// has nothing more to do either way, need not look.
bool SaveAndReport(HWND owner);

// What the save question came to.
enum class SaveAnswer {
    Saved,   // Yes, and the edits were written (or no file is open any more)
    Dropped, // No or Escape: the edits are gone, the window read again
    Kept,    // the save failed, or the question was open already: the edits
             // and the flag stay, and the move that asked must not happen
    Gone,    // while the question was open, the file was closed or another
             // one opened (a drop, the open command): the edits went with
             // the file, and the move that asked must not happen
};

// Whether the move that asked the question may go on.
[[nodiscard]] inline bool MayMoveOn(SaveAnswer answer)
{
    return answer == SaveAnswer::Saved || answer == SaveAnswer::Dropped;
}

// Asks whether to save the window's edits. Yes saves them (and says so when
// that fails); No, or closing the box, drops them at once: the window is
// read again from the file and owner's view shows it, whether or not the
// caller then moves. While the question is open, a second call asks nothing
// and returns Kept: the move that asked for it waits for the first answer
// and does not happen.
[[nodiscard]] SaveAnswer PromptSave(HWND owner);

// Whether the save question is on screen: a move asked for meanwhile is
// dropped (the request came from the box's own message loop).
bool SaveQuestionOpen();

// Drops the window's edits: reads the window again from the file and shows
// it in mainWindow's view; with no file open, only forgets them. Clears
// modified.
void DropEdits(HWND mainWindow);

// Closes the open file, when one is open: no document is open afterwards.
// The window's bytes, its edits and the modified flag stay as they are.
void CloseDocument();

// The folder of the path that the last file opened was opened by, ending
// in its backslash, into folder (capacity bytes, at most PATH_BUFFER_SIZE
// needed); "" when no file was opened or the path named no folder.
void FolderOfDocument(char* folder, uint32_t capacity);

// Closes the open file, opens path (at most 511 bytes) and shows it from
// offset 0 in mainWindow's view, with "<base name> - VUKO" as the title. When
// the file cannot be opened, the title is the product name alone and no
// document is open. Unsaved edits of the window are dropped without a
// question and modified starts at 0 either way. With readOnly the file is
// opened for reading only, so that every save of it fails.
void OpenDocument(HWND mainWindow, const char* path, bool readOnly = false);
