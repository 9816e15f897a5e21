// main_window.h - the main window: a modeless dialog from the DIALOG
// template with the view (IDC_VIEW) and the scroll bar (IDC_SCROLL).
#pragma once

#include <windows.h>

// The scroll bar's width at 96 dots per inch; it is scaled to the window's
// DPI (24 pixels at 150%).
constexpr int SCROLL_BAR_WIDTH = 16;

// Creates the main window from its template, hidden, owned by whatever
// window is active on this thread; gives it the program icon and sets its
// outer size to the template's client size, which lays out the children.
// Returns null when the window cannot be created.
HWND CreateMainWindow();

// Dispatches every message of the main window to the routine that owns the
// work. Returns 1 for WM_CLOSE, WM_DESTROY and WM_MOUSEWHEEL (the wheel,
// which the view hands on too, moves through the file), 0 otherwise.
INT_PTR CALLBACK MainDialogProc(HWND mainWindow, UINT message, WPARAM wParam, LPARAM lParam);

// The view fills the client area but for the scroll bar down the right
// edge, as wide as SCROLL_BAR_WIDTH scaled to the window's DPI.
void LayoutChildren(HWND mainWindow, int width, int height);

// The open-file dialog; opens the chosen file.
void ChooseAndOpenFile(HWND mainWindow);

// Opens every dropped file in turn (the last stays open), then releases drop.
void OpenDroppedFiles(HWND mainWindow, HDROP drop);
