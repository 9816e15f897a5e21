// support.h - helpers shared by the tests that run under Wine: a temporary
// folder of real files, the real main window, and answers to modal boxes.
#pragma once

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
// Size of a file by its handle's size query (all 64 bits).
uint64_t FileSize64(const std::string& path);
// Bytes 0x00, 0x01, ... 0xFF, 0x00, ... of the given length.
std::vector<uint8_t> CountingBytes(size_t length);

// Text of a window or control, read with WM_GETTEXT.
std::string WindowText(HWND window);
std::string ViewText(HWND mainWindow);

// Answers the next modal box (a dialog of class #32770: a message box, the
// input box) that becomes active on this thread: sets the text of the
// control fieldId first when fieldText is given, then sends a click of
// buttonId. The box's window title and the text of its control textId are
// kept for the test. Install before the call that opens the box.
class BoxAnswer {
public:
    BoxAnswer(int buttonId, int textId = 0xFFFF);
    BoxAnswer(int buttonId, int fieldId, std::string fieldText, int textId = 0xFFFF);
    ~BoxAnswer();
    BoxAnswer(const BoxAnswer&) = delete;
    BoxAnswer& operator=(const BoxAnswer&) = delete;

    bool answered() const { return answered_; }
    const std::string& title() const { return title_; }
    const std::string& text() const { return text_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    int buttonId_;
    int fieldId_ = 0;
    std::string fieldText_;
    int textId_;
    bool answered_ = false;
    std::string title_;
    std::string text_;
    HHOOK hook_;
};

// Runs steps, one every 20 ms, on the modal box (class #32770) that is
// open on this thread at that moment; ticks without such a box are
// skipped. For sequences that a single answer cannot express, such as
// keys that must leave a box open.
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

// The real main window, made by the routine the entry point uses, with the
// Document closed and cleared before and after each test.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND window_ = nullptr;
};

// Closes the open file and clears every field of the Document.
void ResetDocument();
