// linux_side.h - what a Wine test does to its files from outside Wine, as
// another program on the machine would: through Linux programs that Wine
// starts. Paths must not hold a double quote.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The Linux name of a file, or "" when Wine cannot tell it.
std::string UnixFileName(const std::string& path);

// Starts a Linux program (commandLine is split into arguments by the
// Windows rules) with its standard output and error going to output, when
// given. Wine does not keep track of a Linux program's end: the caller waits
// for its work.
bool StartLinuxProgram(std::string commandLine, HANDLE output = nullptr);

// Gives the file that length (cutting it, or adding zeros), behind the back
// of any handle open on it; waits until Wine sees the new length.
bool SetLengthFromLinux(const std::string& path, uint64_t size);

// Writes bytes into the file at offset, behind the back of any handle open
// on it (even one that shares no writing); waits until they read back.
bool WriteFromLinux(const std::string& path, uint64_t offset, const std::vector<uint8_t>& bytes);

// Replaces the file by a new one that holds bytes, behind the back of any
// handle open on it, as another program's save often does: with rename, a
// new file written beside it is renamed over the name; otherwise the file is
// deleted and the new one then takes its name. A handle open on the old file
// keeps it. Waits until the name leads to the new file.
bool ReplaceFromLinux(const std::string& path, const std::vector<uint8_t>& bytes, bool rename);
