// linux_side.cpp - Linux programs started from a Wine test, acting on its
// files from outside Wine.
#include "tests/windows/linux_side.h"

#include "tests/windows/waiting.h"

#include <algorithm>

std::string UnixFileName(const std::string& path)
{
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (unixName == nullptr)
        return "";
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    char* name = unixName(wide);
    if (name == nullptr)
        return "";
    std::string unix = name;
    HeapFree(GetProcessHeap(), 0, name);
    return unix;
}

bool StartLinuxProgram(std::string commandLine, HANDLE output)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (output != nullptr) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
                        nullptr, &startup, &process))
        return false;
    if (process.hThread != nullptr)
        CloseHandle(process.hThread);
    if (process.hProcess != nullptr)
        CloseHandle(process.hProcess);
    return true;
}

namespace {

// The file's length by its handle, sharing everything.
uint64_t LengthOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return ~uint64_t{0};
    return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// The bytes at offset, read through a handle that shares reading and writing.
std::vector<uint8_t> BytesAt(const std::string& path, uint64_t offset, size_t count)
{
    std::vector<uint8_t> bytes(count);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN) ||
        !ReadFile(file, bytes.data(), static_cast<DWORD>(count), &read, nullptr))
        read = 0;
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// Which file the path leads to now (its file index), or 0 when none.
uint64_t FileIndexOf(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    BY_HANDLE_FILE_INFORMATION information;
    const BOOL known = GetFileInformationByHandle(file, &information);
    CloseHandle(file);
    return known ? (uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow : 0;
}

} // namespace

bool SetLengthFromLinux(const std::string& path, uint64_t size)
{
    const std::string name = UnixFileName(path);
    return !name.empty() && StartLinuxProgram("/usr/bin/truncate -s " + std::to_string(size) + " \"" + name + "\"") &&
           WaitFor([&] { return LengthOf(path) == size; });
}

bool WriteFromLinux(const std::string& path, uint64_t offset, const std::vector<uint8_t>& bytes)
{
    const std::string name = UnixFileName(path);
    if (name.empty() || bytes.empty())
        return false;
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (uint8_t byte : bytes) {
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    const std::string program = "open(my $f, q(+<), $ARGV[0]) or die; sysseek($f, $ARGV[1], 0) or die;"
                                " syswrite($f, pack(q(H*), $ARGV[2])) or die";
    return StartLinuxProgram("/usr/bin/perl -e \"" + program + "\" \"" + name + "\" " + std::to_string(offset) +
                             " " + hex) &&
           WaitFor([&] { return BytesAt(path, offset, bytes.size()) == bytes; });
}

bool ReplaceFromLinux(const std::string& path, const std::vector<uint8_t>& bytes, bool rename)
{
    const std::string temporary = path + ".new";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool whole = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                                   nullptr) && written == bytes.size());
    CloseHandle(file);
    const std::string name = UnixFileName(path);
    const std::string newName = UnixFileName(temporary);
    const uint64_t before = FileIndexOf(path);
    if (!whole || name.empty() || newName.empty() || before == 0)
        return false;
    const std::string program = rename ? "rename($ARGV[1], $ARGV[0]) or die"
                                       : "unlink($ARGV[0]) or die; rename($ARGV[1], $ARGV[0]) or die";
    return StartLinuxProgram("/usr/bin/perl -e \"" + program + "\" \"" + name + "\" \"" + newName + "\"") &&
           WaitFor([&] {
               const uint64_t now = FileIndexOf(path);
               return now != 0 && now != before && LengthOf(path) == bytes.size() &&
                      BytesAt(path, 0, bytes.size()) == bytes;
           });
}
