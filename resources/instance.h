// instance.h - the program's module instance, which every load of a
// resource passes to the platform, and the string load that every text of
// the program goes through.
#pragma once

#include <windows.h>

// The program's module instance; set once by the entry routine before
// anything else and never changed.
extern HINSTANCE instanceHandle;

// Loads string id of the string table into buffer, which holds size bytes
// (the NUL included); leaves buffer empty when the string is missing.
void LoadText(UINT id, char* buffer, int size);
