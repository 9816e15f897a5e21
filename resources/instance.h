// instance.h - the program's module instance, which every load of a
// resource passes to the platform, the string load that every text of the
// program goes through, the message box made of two such strings, and the
// scale of a window's pixels.
#pragma once

#include <windows.h>

// The program's module instance; set once by the entry routine before
// anything else and never changed.
extern HINSTANCE instanceHandle;

// The room of every short text the program composes: a caption, a label, a
// box's text, the title, the search's progress (255 bytes and a NUL).
constexpr unsigned TEXT_BUFFER_SIZE = 256;

// Loads string id of the string table into buffer, which holds size bytes
// (the NUL included); leaves buffer empty when the string is missing.
void LoadText(UINT id, char* buffer, int size);

// Shows a message box owned by owner with string captionId as its caption,
// string textId as its text and type's buttons and icon (MB_ flags).
// Returns the box's answer, as MessageBoxA does.
int ShowStringBox(HWND owner, UINT captionId, UINT textId, UINT type);

// The dots per inch of window's monitor, as the system scales the window
// (96 at 100%, 144 at 150%); the screen's where the system has no value per
// window (before Windows 10, version 1607).
UINT WindowDpi(HWND window);

// pixels at 96 dots per inch, scaled to window's.
int ScaleForWindow(HWND window, int pixels);
