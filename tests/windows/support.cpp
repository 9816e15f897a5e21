// support.cpp - test helpers for the Wine tests, and their main().
#include "tests/windows/support.h"

#include "tests/windows/linux_side.h"

#include "app/main_window.h"
#include "document/document.h"
#include "document/scroll.h"
#include "resources/instance.h"
#include "resources/resource.h"
#include "search/search.h"
#include "ui/input_box.h"
#include "ui/ui_state.h"

#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

BoxScript* runningScript = nullptr;

// The file calls as the program started with them, noted before the first
// test.
FileCalls startFileCalls;

// A dialog box that has an owner (the main window is a dialog too, but has
// none, and is activated again whenever a box closes).
bool IsModalBox(HWND window)
{
    if (window == nullptr || GetWindow(window, GW_OWNER) == nullptr || !IsWindowEnabled(window))
        return false;
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    return std::strcmp(className, "#32770") == 0;
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

std::vector<uint8_t> ReadAt(const std::string& path, uint64_t offset, DWORD count)
{
    std::vector<uint8_t> bytes(count);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    if (file == INVALID_HANDLE_VALUE || !SetFilePointerEx(file, position, nullptr, FILE_BEGIN) ||
        !ReadFile(file, bytes.data(), count, &read, nullptr))
        read = 0;
    bytes.resize(read);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return bytes;
}

bool WriteAt(const std::string& path, uint64_t offset, const std::vector<uint8_t>& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    DWORD written = 0;
    const bool ok = SetFilePointerEx(file, position, nullptr, FILE_BEGIN) &&
                    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

uint64_t FileSize64(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return ~uint64_t{0};
    return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

namespace {

// Lists the data extents of the file named by the first argument: a line
// "START END" for each, then "end SIZE"; "error: ..." when it cannot.
// lseek's SEEK_DATA is 3 and SEEK_HOLE 4; SEEK_DATA fails with ENXIO when no
// data follows. No double quote in it: the whole program is one argument.
constexpr char LIST_EXTENTS[] =
    "open(my $f, q(<), $ARGV[0]) or die qq(error: cannot open $ARGV[0]: $!\n);"
    "my $size = -s $f; my $at = 0;"
    "while ($at < $size) {"
    "  my $data = sysseek($f, $at, 3);"
    "  if (!defined $data) { last if $!{ENXIO}; die qq(error: SEEK_DATA from $at: $!\n) }"
    "  my $hole = sysseek($f, $data, 4);"
    "  defined $hole or die qq(error: SEEK_HOLE from $data: $!\n);"
    "  print $data + 0, q( ), $hole + 0, qq(\n); $at = $hole"
    "}"
    "print qq(end $size\n)";

} // namespace

bool ShrinkFile(const std::string& path, uint64_t size)
{
    return SetLengthFromLinux(path, size);
}

bool ListDataExtents(const std::string& path, std::vector<DataExtent>& extents, uint64_t& size,
                     std::string& error)
{
    extents.clear();
    const std::string name = UnixFileName(path);
    if (name.empty()) {
        error = "Wine tells no Linux name for " + path;
        return false;
    }
    const std::string listing = path + ".extents";
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE output = CreateFileA(listing.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherited,
                                CREATE_ALWAYS, 0, nullptr);
    if (output == INVALID_HANDLE_VALUE) {
        error = "cannot create " + listing;
        return false;
    }
    const bool started =
        StartLinuxProgram("/usr/bin/perl -e \"" + std::string(LIST_EXTENTS) + "\" \"" + name + "\"", output);
    CloseHandle(output);
    std::string text;
    // Done when the last line is "end SIZE" or an error.
    const auto done = [&] {
        const std::vector<uint8_t> bytes = ReadAt(listing, 0, 1 << 20);
        text.assign(bytes.begin(), bytes.end());
        const size_t last = text.rfind('\n', text.empty() ? 0 : text.size() - 2);
        const std::string line = text.substr(last == std::string::npos ? 0 : last + 1);
        return !text.empty() && text.back() == '\n' &&
               (line.rfind("end ", 0) == 0 || line.rfind("error:", 0) == 0);
    };
    const bool answered = started && WaitFor(done);
    DeleteFileA(listing.c_str());
    if (!started) {
        error = "cannot start /usr/bin/perl (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    if (!answered) {
        error = "no list of data extents of " + name + " within " + std::to_string(WAIT_MS / 1000) +
                " s; Perl wrote: '" + text + "'";
        return false;
    }
    const char* p = text.c_str();
    unsigned long long start = 0, end = 0;
    int used = 0;
    while (std::sscanf(p, "%llu %llu\n%n", &start, &end, &used) == 2) {
        extents.push_back({start, end});
        p += used;
    }
    unsigned long long total = 0;
    if (std::sscanf(p, "end %llu\n%n", &total, &used) != 1 || p[used] != '\0') {
        error = "Perl did not list the data extents of " + name + ": '" + text + "'";
        return false;
    }
    size = total;
    return true;
}

std::string MakeSparseFile(const std::string& path, uint64_t size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool made = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return made ? path : "";
}

// DROPFILES and the names, each ended by a NUL, with a second NUL after the last.
HGLOBAL MakeDrop(const std::vector<std::string>& names)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& name : names)
        size += name.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* p = reinterpret_cast<char*>(drop + 1);
    for (const std::string& name : names) {
        std::memcpy(p, name.c_str(), name.size() + 1);
        p += name.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

std::vector<uint8_t> CountingBytes(size_t length)
{
    std::vector<uint8_t> bytes(length);
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

std::string Ansi(const std::wstring& text)
{
    char buffer[1024];
    const int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                           buffer, sizeof buffer, nullptr, nullptr);
    return std::string(buffer, length > 0 ? length : 0);
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
    return WindowText(GetDlgItem(mainWindow, IDC_VIEW));
}

BoxAnswer::BoxAnswer(int buttonId, int textId)
    : buttonId_(buttonId), textId_(textId), script_({[this](HWND box) { Answer(box); }})
{
}

BoxAnswer::BoxAnswer(int buttonId, int fieldId, std::string fieldText, int textId)
    : BoxAnswer(buttonId, textId)
{
    fieldId_ = fieldId;
    fieldText_ = std::move(fieldText);
}

void BoxAnswer::Answer(HWND box)
{
    answered_ = true;
    title_ = WindowText(box);
    HWND text = GetDlgItem(box, textId_);
    if (text != nullptr)
        text_ = WindowText(text);
    if (fieldId_ != 0)
        SetDlgItemTextA(box, fieldId_, fieldText_.c_str());
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId_, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, buttonId_)));
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
    if (box != nullptr) {
        // Counted first: a step may run a nested modal loop of its own.
        Step& step = script->steps_[script->next_++];
        step(box);
    }
}

void ResetDocument()
{
    CloseDocument();
    std::memset(&document, 0, sizeof document);
}

void ResetProcessState()
{
    ResetDocumentState();
    ResetSearchState();
    ResetUiState();
}

const FileCalls& StartFileCalls()
{
    return startFileCalls;
}

testing::AssertionResult OpenFile(HWND mainWindow, const std::string& path)
{
    OpenDocument(mainWindow, path.c_str());
    if (document.fileHandle == nullptr)
        return testing::AssertionFailure() << "no file is open after opening " << path << " ("
                                           << FileSize64(path) << " bytes on disk, or ~0 when it is not there)";
    return testing::AssertionSuccess();
}

testing::AssertionResult WriteAndOpen(HWND mainWindow, const TempFolder& folder, const std::string& name,
                                      const std::vector<uint8_t>& bytes, std::string& path)
{
    path = folder.Write(name, bytes);
    return OpenFile(mainWindow, path);
}

void EditByte(uint32_t index, uint8_t value)
{
    document.windowBuffer[index] = value;
    NoteEdited(index, 1);
}

void MainWindowTest::SetUp()
{
    ResetProcessState();
    window_ = CreateMainWindow();
    ASSERT_NE(window_, nullptr);
}

void MainWindowTest::TearDown()
{
    if (IsWindow(window_))
        DestroyWindow(window_);
    ResetProcessState();
    // Drop the quit message that destroying the window posted.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

namespace {

// A test that runs this long is stuck, most likely in a modal loop whose box
// no answer reaches: the watchdog then prints what it sees and ends the
// program, so that the log says why the test failed. Longer than any wait
// of a test (WAIT_MS), shorter than the tests' time limit in CTest, which
// would kill the program without a word.
constexpr ULONGLONG STUCK_MS = 150000;

// When the running test started (0 between tests), and its name.
std::atomic<ULONGLONG> testStarted{0};
char testName[256];
DWORD testThread;

class Watchdog : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& test) override
    {
        std::snprintf(testName, sizeof testName, "%s.%s", test.test_suite_name(), test.name());
        testStarted = GetTickCount64();
    }
    void OnTestEnd(const testing::TestInfo&) override { testStarted = 0; }
};

DWORD WINAPI WatchStuckTests(LPVOID)
{
    for (;;) {
        Sleep(1000);
        const ULONGLONG started = testStarted;
        if (started == 0 || GetTickCount64() - started < STUCK_MS)
            continue;
        std::fflush(stdout);
        std::fprintf(stderr, "watchdog: %s is stuck: it has run for %llu s. What it sees:\n%s", testName,
                     (GetTickCount64() - started) / 1000,
                     DescribeWindows(GetCurrentProcessId(), testThread).c_str());
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
    }
}

} // namespace

int main(int argc, char** argv)
{
    instanceHandle = GetModuleHandleA(nullptr);
    startFileCalls = fileCalls;
    testing::InitGoogleTest(&argc, argv);
    testThread = GetCurrentThreadId();
    testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    CloseHandle(CreateThread(nullptr, 0, WatchStuckTests, nullptr, 0, nullptr));
    return RUN_ALL_TESTS();
}
