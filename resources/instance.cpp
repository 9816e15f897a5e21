// instance.cpp - the module instance and the string load.
#include "resources/instance.h"

HINSTANCE instanceHandle;

void LoadText(UINT id, char* buffer, int size)
{
    if (LoadStringA(instanceHandle, id, buffer, size) <= 0)
        buffer[0] = '\0';
}
