// instance.cpp - the module instance, the string load and the message box of
// two strings.
#include "resources/instance.h"

HINSTANCE instanceHandle;

void LoadText(UINT id, char* buffer, int size)
{
    if (LoadStringA(instanceHandle, id, buffer, size) <= 0)
        buffer[0] = '\0';
}

int ShowStringBox(HWND owner, UINT captionId, UINT textId, UINT type)
{
    char caption[256];
    char text[256];
    LoadText(captionId, caption, sizeof caption);
    LoadText(textId, text, sizeof text);
    return MessageBoxA(owner, text, caption, type);
}
