// waiting.h - waiting with a deadline, for the Wine tests and the click
// driver, and what a test or driver that gave up waiting saw: the windows of
// a process and the activation of one of its threads, as text for the log.
// The description reads window texts without sending messages, and asks the
// view for its selection only with a time limit, so that it works while the
// program is stuck.
#pragma once

#include "resources/resource.h"

#include <windows.h>

#include <cstdio>
#include <string>

// How long to wait for something that takes a moment on a loaded machine
// (a box or window that comes or goes, another process's work): far longer
// than that, and shorter than the time after which a test program gives up
// on a stuck test (see main in support.cpp) and the test's own time limit.
constexpr DWORD WAIT_MS = 90000;

// The id of the static control that holds a message box's text.
constexpr int MESSAGE_BOX_TEXT = 0xFFFF;

// Waits until done() holds, checking every 25 ms, up to WAIT_MS; whether it
// did.
template <typename Condition>
bool WaitFor(Condition done)
{
    const ULONGLONG deadline = GetTickCount64() + WAIT_MS;
    while (!done()) {
        if (GetTickCount64() > deadline)
            return false;
        Sleep(25);
    }
    return true;
}

namespace window_state {

inline std::string Utf8(const wchar_t* text)
{
    char utf8[1024] = "";
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

// "HWND #32770 "title"", or "none".
inline std::string Name(HWND window)
{
    if (window == nullptr)
        return "none";
    wchar_t className[64] = L"";
    wchar_t title[256] = L"";
    GetClassNameW(window, className, 64);
    InternalGetWindowText(window, title, 256);
    char handle[32];
    std::snprintf(handle, sizeof handle, "%p", static_cast<void*>(window));
    return std::string(handle) + " " + Utf8(className) + " \"" + Utf8(title) + "\"";
}

// The selection of the view (the Edit control IDC_VIEW) of window, or "" when
// it has none.
inline std::string ViewSelection(HWND window)
{
    HWND view = GetDlgItem(window, IDC_VIEW);
    wchar_t className[16] = L"";
    if (view == nullptr || GetClassNameW(view, className, 16) == 0 || lstrcmpiW(className, L"Edit") != 0)
        return "";
    DWORD start = 0, end = 0;
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(view, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end),
                             SMTO_ABORTIFHUNG, 2000, &ignored))
        return ", view selection: no answer within 2 s";
    return ", view selection " + std::to_string(start) + "-" + std::to_string(end);
}

struct Listing {
    DWORD process;
    std::string text;
};

inline BOOL CALLBACK ListWindow(HWND window, LPARAM data)
{
    auto* listing = reinterpret_cast<Listing*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (listing->process != 0 && process != listing->process)
        return TRUE;
    listing->text += "  " + Name(window) + (listing->process == 0 ? " of process " + std::to_string(process) : "") + (IsWindowVisible(window) ? " visible" : " hidden") +
                     (IsWindowEnabled(window) ? " enabled" : " disabled");
    if (HWND owner = GetWindow(window, GW_OWNER))
        listing->text += ", owned by " + Name(owner);
    listing->text += ViewSelection(window) + "\n";
    return TRUE;
}

} // namespace window_state

// The top-level windows of process, or of all processes when it is 0 (class,
// title, visible, enabled, owner, the view's selection), then the active,
// focus and capture windows of thread (unless 0) and the foreground window,
// one per line.
inline std::string DescribeWindows(DWORD process, DWORD thread)
{
    using namespace window_state;
    Listing listing = {process, process == 0 ? std::string("all top-level windows:\n")
                                             : "windows of process " + std::to_string(process) + ":\n"};
    EnumWindows(ListWindow, reinterpret_cast<LPARAM>(&listing));
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    if (thread == 0) {
    } else if (GetGUIThreadInfo(thread, &gui)) {
        listing.text += "thread " + std::to_string(thread) + ": active " + Name(gui.hwndActive) + ", focus " +
                        Name(gui.hwndFocus) + ", capture " + Name(gui.hwndCapture) + "\n";
    } else {
        listing.text += "thread " + std::to_string(thread) + ": no GUI thread information (error " +
                        std::to_string(GetLastError()) + ")\n";
    }
    listing.text += "foreground window: " + Name(GetForegroundWindow()) + "\n";
    return listing.text;
}
