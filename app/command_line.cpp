// command_line.cpp - the command-line token.
#include "app/command_line.h"

void ExtractArgument(char* dest, size_t capacity, const char* text, int n)
{
    if (capacity == 0)
        return;
    dest[0] = '\0';
    if (n < 1)
        return;
    size_t length = 0;
    int k = n - 1;
    const char* p = text;
    while (*p != '\0') {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (*p == '\0')
            break;
        const bool quoted = *p == '"';
        if (quoted)
            ++p;
        for (; *p != '\0'; ++p) {
            if (quoted ? *p == '"' : (*p == ' ' || *p == '\t'))
                break;
            if (k == 0 && length + 1 < capacity)
                dest[length++] = *p;
        }
        if (quoted && *p == '"')
            ++p;
        --k;
    }
    dest[length] = '\0';
}
