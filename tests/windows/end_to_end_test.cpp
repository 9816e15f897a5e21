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

HWND WaitForWindow(const std::string& title)
{
    for (int tries = 0; tries < 200; ++tries) {
        HWND window = FindWindowA(nullptr, title.c_str());
        if (window != nullptr)
            return window;
        Sleep(50);
    }
    return nullptr;
}

// Starts vuko.exe with the given arguments, waits for a window with title,
// closes it and returns the exit code (or -1 when no such window came).
long RunAndClose(const std::string& arguments, const std::string& title)
{
    std::string commandLine = "\"" + ProgramPath() + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    HWND window = WaitForWindow(title);
    long result = -1;
    if (window != nullptr) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0) {
            DWORD exitCode = 1234;
            GetExitCodeProcess(process.hProcess, &exitCode);
            result = static_cast<long>(exitCode);
        }
    } else {
        TerminateProcess(process.hProcess, 99);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
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
    std::string commandLine = "\"" + ProgramPath() + "\" \"" + file + "\"";

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
        << commandLine;

    HWND window = WaitForWindow("end to end.bin - VUKO");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    HWND view = GetDlgItem(window, IDC_VIEW);
    std::string text = WindowText(view);
    ASSERT_EQ(text.size(), 65 * LINE_LENGTH);
    EXPECT_EQ(text.substr(LINE_LENGTH, 26), " 00000000  00 01 02 03 04 ");

    SendMessageA(window, WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    text = WindowText(view);
    EXPECT_EQ(text.substr(LINE_LENGTH, 26), " 00000100  00 01 02 03 04 ");

    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    DWORD exitCode = 1234;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(ReadWholeFile(file), CountingBytes(0x1000));
}

} // namespace
