// chunked_memmem FILE N - the reference for the whole search: reads FILE
// from the start in 32 KiB chunks with read(2), as dd bs=32k does, and looks
// for the file's last N bytes in each chunk with the C library's memmem,
// carrying N - 1 bytes over from one chunk to the next. Prints the seconds
// taken and the offset found.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: chunked_memmem FILE N\n");
        return 2;
    }
    const size_t length = std::strtoul(argv[2], nullptr, 10);
    const int file = open(argv[1], O_RDONLY);
    const off_t size = file < 0 ? -1 : lseek(file, 0, SEEK_END);
    unsigned char pattern[64];
    if (size < static_cast<off_t>(length) || length == 0 || length > sizeof pattern ||
        pread(file, pattern, length, size - static_cast<off_t>(length)) != static_cast<ssize_t>(length)) {
        std::fprintf(stderr, "cannot read the last %zu bytes of %s\n", length, argv[1]);
        return 1;
    }
    constexpr size_t CHUNK = 32768;
    static unsigned char buffer[64 + CHUNK];
    const auto start = std::chrono::steady_clock::now();
    lseek(file, 0, SEEK_SET);
    size_t carried = 0;   // bytes kept from the previous chunk
    long long base = 0;   // file offset of buffer[0]
    long long found = -1;
    for (;;) {
        const ssize_t count = read(file, buffer + carried, CHUNK);
        if (count <= 0)
            break;
        const size_t have = carried + static_cast<size_t>(count);
        const void* at = memmem(buffer, have, pattern, length);
        if (at != nullptr) {
            found = base + (static_cast<const unsigned char*>(at) - buffer);
            break;
        }
        carried = have < length - 1 ? have : length - 1;
        std::memmove(buffer, buffer + have - carried, carried);
        base += static_cast<long long>(have - carried);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.6f %lld\n", seconds, found);
    close(file);
    return found < 0;
}
