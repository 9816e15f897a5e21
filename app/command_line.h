// command_line.h - picking one token out of the command-line text.
#pragma once

#include <cstddef>

// Writes token n (counted from 1) of text into dest: at most capacity - 1
// bytes and a NUL; an absent token, or n below 1, gives the empty string.
// Blanks and tabs separate tokens; a token that begins with a double quote
// runs to the next double quote (or the end), and whatever follows that
// quote starts the next token. Quotes inside an unquoted token are ordinary.
void ExtractArgument(char* dest, size_t capacity, const char* text, int n);
