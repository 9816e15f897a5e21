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

// vuko.exe started with arguments, as its own process; ended by force when
// a test leaves it running. Its waits fail the test with what they saw: the
// program's exit code when it ended early, its windows otherwise.
class Program {
public:
    explicit Program(const std::string& arguments)
    {
        std::string commandLine = "\"" + ProgramPath() + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_) != 0;
        EXPECT_TRUE(started_) << "cannot start " << commandLine << " (error " << GetLastError() << ")";
    }
    ~Program()
    {
        if (!started_)
            return;
        if (!Ended())
            TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The visible top-level window of the program with the given title, once
    // it shows (the first start in a new Wine prefix is slow; other test
    // programs run at the same time with main windows titled VUKO too), or
    // null when it did not.
    HWND Window(const std::string& title) const
    {
        if (!started_)
            return nullptr;
        HWND found = nullptr;
        if (WaitFor([&] { return (found = Find(title)) != nullptr || Ended(); }) && found != nullptr)
            return found;
        if (Ended())
            ADD_FAILURE() << "vuko.exe ended early with exit code " << ExitCodeNow() << ", before a window titled '"
                          << title << "' showed";
        else
            ADD_FAILURE() << "no window titled '" << title << "' within " << WAIT_MS / 1000 << " s\n"
                          << DescribeWindows(process_.dwProcessId, 0);
        return nullptr;
    }
    // Waits for the end; the exit code, or -1 if it did not end.
    long ExitCode() const
    {
        if (!started_)
            return -1;
        if (!WaitFor([&] { return Ended(); })) {
            ADD_FAILURE() << "vuko.exe did not end within " << WAIT_MS / 1000 << " s\n"
                          << DescribeWindows(process_.dwProcessId, 0);
            return -1;
        }
        return ExitCodeNow();
    }

private:
    bool Ended() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }
    long ExitCodeNow() const
    {
        DWORD exitCode = 1234;
        return GetExitCodeProcess(process_.hProcess, &exitCode) ? static_cast<long>(exitCode) : -1;
    }
    HWND Find(const std::string& title) const
    {
        struct Search {
            DWORD process;
            const std::string* title;
            HWND found;
        } search = {process_.dwProcessId, &title, nullptr};
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
        return search.found;
    }

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
