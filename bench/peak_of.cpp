// tavrix_peak_of DIR PROGRAM [ARGS...]: runs PROGRAM in DIR with its standard streams on
// /dev/null and prints "EXIT WALL_NS PEAK_KIB". A child's peak memory starts from what its
// parent held when it forked, so this launcher stays small and the figure is the program's.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

namespace {

long long nanoseconds_now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

[[noreturn]] void become(char* directory, char** program) {
    const int null = open("/dev/null", O_RDWR);
    if (chdir(directory) != 0 || null < 0)
        _exit(126);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execv(program[0], program);
    _exit(127);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("uso: tavrix_peak_of CARPETA PROGRAMA [ARGUMENTOS...]\n", stderr);
        return 2;
    }
    const long long start = nanoseconds_now();
    const pid_t child = fork();
    if (child < 0)
        return 1;
    if (child == 0)
        become(argv[1], argv + 2);
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        return 1;
    const long long wall = nanoseconds_now() - start;
    const int exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::printf("%d %lld %ld\n", exit_code, wall, usage.ru_maxrss);
    return 0;
}
