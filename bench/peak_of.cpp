// tavrix_peak_of DIR PROGRAM [ARGS...]: runs PROGRAM in DIR with its standard streams on
// /dev/null and prints "EXIT WALL_NS PEAK_KIB". A child's peak memory starts from what its
// parent held, so this launcher stays small (and is linked statically) and the figure is the
// program's. The child is spawned without copying the launcher's memory, as a shell does.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <initializer_list>

extern char** environ;

namespace {

long long nanoseconds_now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// Starts the program in `directory` with its standard streams on /dev/null; 0 on failure.
pid_t spawn(const char* directory, char** program) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, directory);
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        posix_spawn_file_actions_addopen(&actions, stream, "/dev/null", O_RDWR, 0);
    pid_t child = 0;
    const int failed = posix_spawn(&child, program[0], &actions, nullptr, program, environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? 0 : child;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: tavrix_peak_of FOLDER PROGRAM [ARGUMENT...]\n", stderr);
        return 2;
    }
    const long long start = nanoseconds_now();
    const pid_t child = spawn(argv[1], argv + 2);
    if (child == 0)
        return 1;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        return 1;
    const long long wall = nanoseconds_now() - start;
    const int exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::printf("%d %lld %ld\n", exit_code, wall, usage.ru_maxrss);
    return 0;
}
