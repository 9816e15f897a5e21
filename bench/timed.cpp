// timed OUTPUT COMMAND [ARGUMENTS...] - runs COMMAND with its standard output
// written to the file OUTPUT (/dev/null allowed) and prints how long it took,
// in seconds: by the clock, from before the fork to the end of its wait, and
// on a processor, its user and system time as the kernel counts them for it
// and its children (wait4's resource usage, to the microsecond), as
// "WALL CPU". bench/run times its references with it. Exits with COMMAND's
// status (1 when it ended by a signal, 127 when it could not be started).
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

double Seconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

double Now()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: timed OUTPUT COMMAND [ARGUMENTS...]\n");
        return 2;
    }
    const int output = open(argv[1], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (output < 0) {
        std::fprintf(stderr, "timed: cannot write %s: %s\n", argv[1], std::strerror(errno));
        return 2;
    }
    std::fflush(nullptr);
    const double start = Now();
    const pid_t child = fork();
    if (child < 0) {
        std::fprintf(stderr, "timed: cannot fork: %s\n", std::strerror(errno));
        return 2;
    }
    if (child == 0) {
        dup2(output, STDOUT_FILENO);
        close(output);
        execvp(argv[2], argv + 2);
        std::fprintf(stderr, "timed: cannot run %s: %s\n", argv[2], std::strerror(errno));
        _exit(127);
    }
    close(output);
    int status = 0;
    rusage usage = {};
    pid_t ended;
    do {
        ended = wait4(child, &status, 0, &usage);
    } while (ended < 0 && errno == EINTR);
    const double wall = Now() - start;
    if (ended != child) {
        std::fprintf(stderr, "timed: lost %s: %s\n", argv[2], std::strerror(errno));
        return 2;
    }
    std::printf("%.6f %.6f\n", wall, Seconds(usage.ru_utime) + Seconds(usage.ru_stime));
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    std::fprintf(stderr, "timed: %s ended by signal %d\n", argv[2], WTERMSIG(status));
    return 1;
}
