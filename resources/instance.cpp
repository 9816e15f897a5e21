// instance.cpp - the module instance, the string load, the message box of
// two strings and the window's scale.
#include "resources/instance.h"

HINSTANCE instanceHandle;

void LoadText(UINT id, char* buffer, int size)
{
    if (LoadStringA(instanceHandle, id, buffer, size) <= 0)
        buffer[0] = '\0';
}

int ShowStringBox(HWND owner, UINT captionId, UINT textId, UINT type)
{
    char caption[TEXT_BUFFER_SIZE];
    char text[TEXT_BUFFER_SIZE];
    LoadText(captionId, caption, sizeof caption);
    LoadText(textId, text, sizeof text);
    return MessageBoxA(owner, text, caption, type);
}

UINT WindowDpi(HWND window)
{
    // Looked up, not linked: a Windows before 10 (1607) lacks it.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (dpiForWindow != nullptr) {
        const UINT dpi = dpiForWindow(window);
        if (dpi != 0)
            return dpi;
    }
    HDC dc = GetDC(window);
    const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc != nullptr)
        ReleaseDC(window, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

int ScaleForWindow(HWND window, int pixels)
{
    return MulDiv(pixels, static_cast<int>(WindowDpi(window)), USER_DEFAULT_SCREEN_DPI);
}
