// support.h - helpers shared by the tests that run under Wine: a temporary
// folder of real files, the real main window, and answers to modal boxes.
#pragma once

#include "document/document.h"
#include "resources/version.h"
#include "tests/windows/waiting.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with its files.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // Full path of name inside the folder.
    std::string File(const std::string& name) const;
    // Creates name holding bytes; returns its full path.
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;

private:
    std::string path_;
};

// The whole content of a file, read with the platform's own calls.
std::vector<uint8_t> ReadWholeFile(const std::string& path);
// Bytes of a file at a 64-bit offset, read or written with the platform's
// own calls (not the program's).
std::vector<uint8_t> ReadAt(const std::string& path, uint64_t offset, DWORD count);
bool WriteAt(const std::string& path, uint64_t offset, const std::vector<uint8_t>& bytes);
// Size of a file by its handle's size query (all 64 bits).
uint64_t FileSize64(const std::string& path);
// Cuts a file to size as another program would, behind the back of any
// handle open on it: through the Linux truncate command, which Wine runs.
// The path must not hold a double quote.
bool ShrinkFile(const std::string& path, uint64_t size);
// Creates a file of size bytes that holds no data: zeros, and no disk space
// until written. Returns its path, or "" when it could not be made.
std::string MakeSparseFile(const std::string& path, uint64_t size);
// A run of data that the file system keeps for a file: bytes start to end.
struct DataExtent {
    uint64_t start;
    uint64_t end;
};
// The runs of data of a file, in order, as the Linux file system reports
// them through lseek's SEEK_DATA and SEEK_HOLE (asked by Perl, which Wine
// starts as a Linux program); the rest of the file, its holes, reads as
// zeros. A file system that keeps no holes reports the whole file as data.
// Also the file's size as Linux sees it. Returns false with error set when
// they could not be listed. The path must not hold a double quote.
bool ListDataExtents(const std::string& path, std::vector<DataExtent>& extents, uint64_t& size,
                     std::string& error);
// A drop handle as the shell makes it for WM_DROPFILES, with these names.
HGLOBAL MakeDrop(const std::vector<std::string>& names);
// Bytes 0x00, 0x01, ... 0xFF, 0x00, ... of the given length.
std::vector<uint8_t> CountingBytes(size_t length);

// A text in the ANSI code page (932 under the tests' locale).
std::string Ansi(const std::wstring& text);

// Text of a window or control, read with WM_GETTEXT.
std::string WindowText(HWND window);
std::string ViewText(HWND mainWindow);

// Runs steps, one every 20 ms, on the modal box (an owned, enabled dialog of
// class #32770: a message box, the input box, a common dialog) that is open
// on this thread at that moment; ticks without such a box are skipped. For
// sequences that a single answer cannot express, such as keys that must
// leave a box open. One script or answer at a time.
class BoxScript {
public:
    using Step = std::function<void(HWND box)>;
    explicit BoxScript(std::vector<Step> steps);
    ~BoxScript();
    BoxScript(const BoxScript&) = delete;
    BoxScript& operator=(const BoxScript&) = delete;

    int stepsRun() const { return static_cast<int>(next_); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    std::vector<Step> steps_;
    size_t next_ = 0;
    UINT_PTR timer_;
};

// Answers the next modal box: sets the text of the control fieldId first
// when fieldText is given, then sends a click of buttonId. The box's window
// title and the text of its control textId (the message of a message box by
// default) are kept for the test. Make it before the call that opens the box.
class BoxAnswer {
public:
    BoxAnswer(int buttonId, int textId = MESSAGE_BOX_TEXT);
    BoxAnswer(int buttonId, int fieldId, std::string fieldText, int textId = MESSAGE_BOX_TEXT);
    BoxAnswer(const BoxAnswer&) = delete;
    BoxAnswer& operator=(const BoxAnswer&) = delete;

    bool answered() const { return answered_; }
    const std::string& title() const { return title_; }
    const std::string& text() const { return text_; }

private:
    void Answer(HWND box);
    int buttonId_;
    int fieldId_ = 0;
    std::string fieldText_;
    int textId_;
    bool answered_ = false;
    std::string title_;
    std::string text_;
    BoxScript script_;
};

// What the Help and About boxes show: their titles and texts, the About
// box's with the version as the build gives it.
struct InfoBoxTexts {
    const wchar_t* title;
    const wchar_t* text;
};
constexpr InfoBoxTexts HELP_BOX = {L"VUKO", L" トピックはありません "};
constexpr InfoBoxTexts ABOUT_BOX = {
    L"VUKO のバージョン情報", L" VUKO \n Version " VUKO_VERSION_TEXT L" \n 作者: VUKO の開発者 \n Web: 公開サイトはありません "};

// The real main window, made by the routine the entry point uses, with
// every piece of process state as at start (ResetProcessState) before and
// after each test.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND window_ = nullptr;
};

// A message for a table of cases: what it stands for, and the message.
struct NamedMessage {
    const char* name;
    UINT message;
    WPARAM wParam;
};

// Closes the open file and clears every field of the Document.
void ResetDocument();

// Puts the state of the process back as the program starts with it, each
// folder resetting its own (ResetDocumentState, ResetSearchState,
// ResetUiState). For the time between two main windows.
void ResetProcessState();

// The file calls as the program starts with them.
const FileCalls& StartFileCalls();

// Opens path in the main window as the open command does; fails, naming the
// path and its size, when no file is open then.
testing::AssertionResult OpenFile(HWND mainWindow, const std::string& path);
// Writes bytes into a new file name in folder, sets path to its path and
// opens it as OpenFile does.
testing::AssertionResult WriteAndOpen(HWND mainWindow, const TempFolder& folder, const std::string& name,
                                      const std::vector<uint8_t>& bytes, std::string& path);

// Changes byte index of the Document's window to value as an edit does:
// noted for the next save, and the window marked modified.
void EditByte(uint32_t index, uint8_t value);
