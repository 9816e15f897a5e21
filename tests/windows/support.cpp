// support.cpp - test helpers for the Wine tests, and their main().
#include "tests/windows/support.h"

#include "app/main_window.h"
#include "document/document.h"

#include <cstring>

namespace {

BoxAnswer* pendingAnswer = nullptr;
BoxScript* runningScript = nullptr;

bool IsModalBox(HWND window)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    return window != nullptr && std::strcmp(className, "#32770") == 0 && IsWindowEnabled(window);
}

BOOL CALLBACK FindModalBox(HWND window, LPARAM found)
{
    if (!IsModalBox(window) || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The modal box open on this thread. Not GetActiveWindow(): while tests run
// in parallel on one display, another process's box takes the activation
// away, and this thread's active window becomes none.
HWND OpenModalBox()
{
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindModalBox, reinterpret_cast<LPARAM>(&box));
    return box;
}

} // namespace

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH + 64];
        wsprintfA(name, "%svuko-test-%lu-%u", base, GetCurrentProcessId(), counter++);
        if (CreateDirectoryA(name, nullptr)) {
            path_ = name;
            return;
        }
    }
}

TempFolder::~TempFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(File("*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0) {
                const std::string file = File(found.cFileName);
                SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(file.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
}

std::string TempFolder::File(const std::string& name) const
{
    return path_ + "\\" + name;
}

std::string TempFolder::Write(const std::string& name, const std::vector<uint8_t>& bytes) const
{
    const std::string path = File(name);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    if (!bytes.empty()) {
        EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    }
    CloseHandle(file);
    return path;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty()) {
        EXPECT_TRUE(ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr));
    }
    CloseHandle(file);
    return bytes;
}

uint64_t FileSize64(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return ~uint64_t{0};
    return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

std::vector<uint8_t> CountingBytes(size_t length)
{
    std::vector<uint8_t> bytes(length);
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

std::string WindowText(HWND window)
{
    const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::string ViewText(HWND mainWindow)
{
    return WindowText(GetDlgItem(mainWindow, 128));
}

BoxAnswer::BoxAnswer(int buttonId, int textId) : buttonId_(buttonId), textId_(textId)
{
    pendingAnswer = this;
    hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

BoxAnswer::BoxAnswer(int buttonId, int fieldId, std::string fieldText, int textId)
    : BoxAnswer(buttonId, textId)
{
    fieldId_ = fieldId;
    fieldText_ = std::move(fieldText);
}

BoxAnswer::~BoxAnswer()
{
    if (hook_ != nullptr)
        UnhookWindowsHookEx(hook_);
    if (pendingAnswer == this)
        pendingAnswer = nullptr;
}

LRESULT CALLBACK BoxAnswer::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    BoxAnswer* answer = pendingAnswer;
    if (code == HCBT_ACTIVATE && answer != nullptr && !answer->answered_) {
        HWND box = reinterpret_cast<HWND>(wParam);
        if (IsModalBox(box)) {
            answer->answered_ = true;
            answer->title_ = WindowText(box);
            HWND text = GetDlgItem(box, answer->textId_);
            if (text != nullptr)
                answer->text_ = WindowText(text);
            if (answer->fieldId_ != 0)
                SetDlgItemTextA(box, answer->fieldId_, answer->fieldText_.c_str());
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer->buttonId_, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, answer->buttonId_)));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BoxScript::BoxScript(std::vector<Step> steps) : steps_(std::move(steps))
{
    runningScript = this;
    timer_ = SetTimer(nullptr, 0, 20, Tick);
}

BoxScript::~BoxScript()
{
    KillTimer(nullptr, timer_);
    if (runningScript == this)
        runningScript = nullptr;
}

void CALLBACK BoxScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    BoxScript* script = runningScript;
    if (script == nullptr || script->next_ >= script->steps_.size())
        return;
    HWND box = OpenModalBox();
    if (box != nullptr)
        script->steps_[script->next_++](box);
}

void ResetDocument()
{
    if (document.fileHandle != nullptr)
        CloseHandle(document.fileHandle);
    std::memset(&document, 0, sizeof document);
}

void MainWindowTest::SetUp()
{
    ResetDocument();
    window_ = CreateMainWindow();
    ASSERT_NE(window_, nullptr);
}

void MainWindowTest::TearDown()
{
    if (IsWindow(window_))
        DestroyWindow(window_);
    ResetDocument();
    // Drop the quit message that destroying the window posted.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

int main(int argc, char** argv)
{
    instanceHandle = GetModuleHandleA(nullptr);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
