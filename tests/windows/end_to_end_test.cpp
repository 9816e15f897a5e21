// The built vuko.exe as its own process: started with a file argument,
// driven from outside through its window, closed, and its exit code read.
#include "dump/dump_text.h"
#include "resources/resource.h"
#include "tests/windows/support.h"

namespace {

// vuko.exe sits two folders above the test programs in the build tree.
std::string ProgramPath()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    for (int up = 0; up < 3; ++up)
        folder.erase(folder.find_last_of('\\'));
    return folder + "\\vuko.exe";
}

// The visible top-level window of process with the given title, once it
// shows (up to 30 s: the first start in a new Wine prefix is slow). Other
// test programs run at the same time with main windows titled VUKO too.
HWND WaitForWindow(DWORD process, const std::string& title)
{
    struct Search {
        DWORD process;
        const std::string* title;
        HWND found;
    };
    for (int tries = 0; tries < 600; ++tries) {
        Search search = {process, &title, nullptr};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner != s->process || !IsWindowVisible(window) || WindowText(window) != *s->title)
                    return TRUE;
                s->found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
        Sleep(50);
    }
    return nullptr;
}

// vuko.exe started with arguments, as its own process; ended by force when
// a test leaves it running.
class Program {
public:
    explicit Program(const std::string& arguments)
    {
        std::string commandLine = "\"" + ProgramPath() + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_) != 0;
    }
    ~Program()
    {
        if (!started_)
            return;
        if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0)
            TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND Window(const std::string& title) const
    {
        return started_ ? WaitForWindow(process_.dwProcessId, title) : nullptr;
    }
    // Waits up to 10 s for the end; the exit code, or -1 if it did not end.
    long ExitCode() const
    {
        DWORD exitCode = 1234;
        if (!started_ || WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process_.hProcess, &exitCode))
            return -1;
        return static_cast<long>(exitCode);
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION process_ = {};
};

// Starts vuko.exe with the given arguments, waits for a window with title,
// closes it and returns the exit code (or -1 when no such window came).
long RunAndClose(const std::string& arguments, const std::string& title)
{
    Program program(arguments);
    HWND window = program.Window(title);
    if (window == nullptr)
        return -1;
    PostMessageA(window, WM_CLOSE, 0, 0);
    return program.ExitCode();
}

TEST(EndToEnd, OverlongOrOddArgumentsOpenNothingAndExitWithZero)
{
    const std::string cases[] = {
        std::string(511, 'a'),
        std::string(600, 'b'),
        "\"" + std::string(700, 'c') + "\"",
        "\"\"",          // an empty quoted name
        "\"unclosed",
    };
    for (const std::string& arguments : cases) {
        SCOPED_TRACE(arguments.substr(0, 16));
        EXPECT_EQ(RunAndClose(arguments, "VUKO"), 0);
    }
}

TEST(EndToEnd, OpensTheNamedFileScrollsAndExitsWithZero)
{
    TempFolder folder;
    const std::string file = folder.Write("end to end.bin", CountingBytes(0x1000));
    Program program("\"" + file + "\"");

    HWND window = program.Window("end to end.bin - VUKO");
    ASSERT_NE(window, nullptr);
    HWND view = GetDlgItem(window, IDC_VIEW);
    std::string text = WindowText(view);
    ASSERT_EQ(text.size(), 65 * LINE_LENGTH);
    EXPECT_EQ(text.substr(LINE_LENGTH, 26), " 00000000  00 01 02 03 04 ");

    SendMessageA(window, WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    text = WindowText(view);
    EXPECT_EQ(text.substr(LINE_LENGTH, 26), " 00000100  00 01 02 03 04 ");

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.ExitCode(), 0);
    EXPECT_EQ(ReadWholeFile(file), CountingBytes(0x1000));
}

} // namespace
