// document.cpp - the open file and its window of bytes.
#include "document/document.h"

#include "document/scroll.h"
#include "document/scroll_offsets.h"
#include "dump/render.h"
#include "resources/instance.h"
#include "resources/resource.h"

#include <cstring>

Document document;
constexpr FileCalls PLATFORM_FILE_CALLS = {SetFilePointerEx, ReadFile, WriteFile, GetFileSizeEx};
FileCalls fileCalls = PLATFORM_FILE_CALLS;

namespace {

bool questionOpen; // the save question is on screen

// Moves the file position to an unsigned 32-bit offset. A plain 32-bit
// distance without a high part would be taken as signed and fail from 2 GiB
// up, so the full 64-bit form is used.
bool SeekTo(HANDLE handle, uint32_t offset)
{
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    return fileCalls.seek(handle, distance, nullptr, FILE_BEGIN) != 0;
}

// Start of the last path element: the character after the last backslash.
// Steps by whole characters, so a 0x5C trail byte never counts as one.
const char* BaseName(const char* path)
{
    const char* base = path;
    for (const char* p = path; *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\')
            base = CharNextA(p);
    }
    return base;
}

// "<base> - <product>" into title (TEXT_BUFFER_SIZE bytes). A base name too
// long for the buffer is cut after its last whole character that fits.
void ComposeTitle(char* title, const char* base, const char* product)
{
    static const char SEPARATOR[] = " - ";
    const size_t fixed = (sizeof SEPARATOR - 1) + std::strlen(product);
    const size_t room = fixed < TEXT_BUFFER_SIZE - 1 ? TEXT_BUFFER_SIZE - 1 - fixed : 0;
    const char* end = base;
    for (const char* next; *end != '\0'; end = next) {
        next = CharNextA(end);
        if (static_cast<size_t>(next - base) > room)
            break;
    }
    const size_t baseLength = static_cast<size_t>(end - base);
    std::memcpy(title, base, baseLength);
    std::strcpy(title + baseLength, SEPARATOR);
    std::strcat(title, product);
}

// Whether path still names the file that handle holds open: the same volume
// and the same file on it. Another program may have written a new file and
// renamed it over the name, or deleted the file, while it is held open
// (Linux lets it; Windows refuses both while the file is open without
// FILE_SHARE_DELETE). A handle on the path for reading tells which file the
// name now leads to.
bool PathNamesFile(const char* path, HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION held;
    BY_HANDLE_FILE_INFORMATION named;
    if (!GetFileInformationByHandle(handle, &held))
        return false;
    HANDLE fresh =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (fresh == INVALID_HANDLE_VALUE)
        return false;
    const BOOL known = GetFileInformationByHandle(fresh, &named);
    CloseHandle(fresh);
    return known && named.dwVolumeSerialNumber == held.dwVolumeSerialNumber &&
        named.nFileIndexHigh == held.nFileIndexHigh && named.nFileIndexLow == held.nFileIndexLow;
}

} // namespace

HANDLE FileOpen(const char* path, uint32_t* sizeOut, bool readOnly)
{
    if (sizeOut != nullptr) {
        *sizeOut = 0xFFFFFFFF;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(path, &found);
        if (search != INVALID_HANDLE_VALUE) {
            // Offsets are 32-bit: of a larger file the first 4 GiB - 1
            // bytes are reached, at their true offsets.
            *sizeOut = found.nFileSizeHigh != 0 ? 0xFFFFFFFF : found.nFileSizeLow;
            FindClose(search);
        }
    }
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (!readOnly) {
        handle = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (handle == INVALID_HANDLE_VALUE) {
        handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

namespace {

bool ReadClipped(HANDLE handle, uint32_t fileSize, uint32_t offset, void* buffer, uint32_t count,
                 uint32_t* countOut, bool seek)
{
    if (handle == nullptr || !ClipToEnd(fileSize, offset, count) ||
        (seek && !SeekTo(handle, offset)))
        return false;
    DWORD done = 0;
    if (!fileCalls.read(handle, buffer, count, &done, nullptr))
        return false;
    if (countOut != nullptr)
        *countOut = done;
    return true;
}

} // namespace

bool FileReadAt(HANDLE handle, uint32_t fileSize, uint32_t offset, void* buffer, uint32_t count,
                uint32_t* countOut)
{
    return ReadClipped(handle, fileSize, offset, buffer, count, countOut, true);
}

bool FileReadNext(HANDLE handle, uint32_t fileSize, uint32_t offset, void* buffer, uint32_t count,
                  uint32_t* countOut)
{
    return ReadClipped(handle, fileSize, offset, buffer, count, countOut, false);
}

bool FileWriteAt(HANDLE handle, uint32_t fileSize, uint32_t offset, const void* buffer,
                 uint32_t count, uint32_t* countOut)
{
    if (handle == nullptr || !ClipToEnd(fileSize, offset, count))
        return false;
    // Another program may have shortened the file since it was opened.
    LARGE_INTEGER present;
    if (!fileCalls.size(handle, &present) || !ClipToEnd(present.QuadPart, offset, count) ||
        !SeekTo(handle, offset))
        return false;
    DWORD done = 0;
    if (!fileCalls.write(handle, buffer, count, &done, nullptr))
        return false;
    if (countOut != nullptr)
        *countOut = done;
    return true;
}

void ReloadWindow()
{
    uint32_t count = 0;
    if (!FileReadAt(document.fileHandle, document.fileSize, document.topOffset,
                    document.windowBuffer, WINDOW_SIZE, &count)) {
        count = 0;
    }
    document.validCount = count;
    document.edited = {};
    document.modified = false;
}

void MoveTopLine(HWND mainWindow, uint32_t top)
{
    document.topOffset = top;
    ReloadWindow();
    RenderView(mainWindow);
}

void NoteEdited(uint32_t index, uint32_t count)
{
    MarkEdited(document.edited, index, count);
    document.modified = true;
}

DocumentStamp TakeStamp()
{
    return {document.generation, document.topOffset};
}

bool StillCurrent(const DocumentStamp& stamp)
{
    return document.fileHandle != nullptr && document.generation == stamp.generation &&
        document.topOffset == stamp.topOffset;
}

bool SaveWindow()
{
    document.modified = false;
    if (document.fileHandle == nullptr)
        return false;
    const ByteRun first = NextEditedRun(document.edited, 0, document.validCount);
    if (first.start != first.end && !PathNamesFile(document.path, document.fileHandle)) {
        document.modified = true; // the edits wait for a save that reaches the file
        return false;
    }
    for (uint32_t from = 0;;) {
        const ByteRun run = NextEditedRun(document.edited, from, document.validCount);
        if (run.start == run.end)
            return true;
        const uint32_t count = run.end - run.start;
        uint32_t written = 0;
        const bool whole =
            FileWriteAt(document.fileHandle, document.fileSize, document.topOffset + run.start,
                        document.windowBuffer + run.start, count, &written) &&
            written == count;
        ClearWritten(document.edited, run, written);
        if (!whole) {
            document.modified = true; // the rest is kept for the next save
            return false;
        }
        from = run.end;
    }
}

bool SaveAndReport(HWND owner)
{
    if (SaveWindow())
        return true;
    if (document.fileHandle == nullptr)
        return false;
    ShowStringBox(owner, STR_SAVE_CAPTION, STR_SAVE_FAILED, MB_OK | MB_ICONWARNING);
    return false;
}

SaveAnswer PromptSave(HWND owner)
{
    // A move asked for while the question is open (the box's own loop still
    // hands the scroll bar its messages) waits for the answer: it asks no
    // second question and moves nothing, so no edit is dropped before the
    // user has answered.
    if (questionOpen)
        return SaveAnswer::Kept;
    questionOpen = true;
    const DocumentStamp stamp = TakeStamp();
    const int answer =
        ShowStringBox(owner, STR_SAVE_CAPTION, STR_SAVE_QUESTION, MB_YESNO | MB_ICONQUESTION);
    questionOpen = false;
    // The box's loop handled a drop or an open: the window asked about is
    // gone, and a move meant for it must not happen in the next file.
    if (!StillCurrent(stamp))
        return SaveAnswer::Gone;
    if (answer != IDYES) {
        // Declined: the edits are gone now, not at the next move, so that
        // neither the view nor a later save keeps a byte the user declined.
        DropEdits(owner);
        return SaveAnswer::Dropped;
    }
    return SaveAndReport(owner) ? SaveAnswer::Saved : SaveAnswer::Kept;
}

void ResetDocumentState()
{
    CloseDocument();
    document = {};
    questionOpen = false;
    fileCalls = PLATFORM_FILE_CALLS;
    ForgetScrollState();
}

bool SaveQuestionOpen()
{
    return questionOpen;
}

void DropEdits(HWND mainWindow)
{
    if (document.fileHandle == nullptr) {
        document.edited = {};
        document.modified = false;
        return;
    }
    ReloadWindow();
    RenderView(mainWindow);
}

void CloseDocument()
{
    if (document.fileHandle != nullptr) {
        CloseHandle(document.fileHandle);
        document.fileHandle = nullptr;
    }
}

void FolderOfDocument(char* folder, uint32_t capacity)
{
    lstrcpynA(folder, document.path, static_cast<int>(capacity));
    char* base = const_cast<char*>(BaseName(folder));
    *base = '\0';
}

void OpenDocument(HWND mainWindow, const char* path, bool readOnly)
{
    ++document.generation;
    CloseDocument();
    // The edits belonged to the file just closed.
    document.edited = {};
    document.modified = false;
    char product[TEXT_BUFFER_SIZE];
    LoadText(STR_PRODUCT, product, sizeof product);
    SetWindowTextA(mainWindow, product);

    document.fileHandle = FileOpen(path, &document.fileSize, readOnly);
    if (document.fileHandle == nullptr)
        return;
    lstrcpynA(document.path, path, sizeof document.path);

    document.scrollShift = ScrollShiftFor(document.fileSize);
    SetScrollRange(GetDlgItem(mainWindow, IDC_SCROLL), SB_CTL, 0,
                   static_cast<int>(ScrollMaximum(document.fileSize, document.scrollShift)), TRUE);
    MoveTopLine(mainWindow, 0);

    char title[TEXT_BUFFER_SIZE];
    ComposeTitle(title, BaseName(path), product);
    SetWindowTextA(mainWindow, title);
}
