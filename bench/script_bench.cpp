// tavrix-script as a whole process: wall time from fork to exit, and peak memory, on the
// example script and on scripts whose one "Generar!" expands a thousand or a million frames.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "bench_support.h"

extern char** environ;

namespace tavrix::bench {
namespace {

struct ProcessFigures {
    int exit_code = -1;
    double wall_seconds = 0;
    long peak_kib = 0;
};

// Asks tavrix_peak_of to run the script in the scratch folder and reads its one line.
std::optional<ProcessFigures> run_script(const std::string& script) {
    std::vector<std::string> words{TAVRIX_PEAK_OF_PROGRAM, scratch_directory(),
                                   TAVRIX_SCRIPT_PROGRAM, script};
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    std::array<int, 2> pipe_ends{};
    if (pipe(pipe_ends.data()) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
    pid_t launcher = 0;
    const int spawned = posix_spawn(&launcher, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    std::array<char, 128> line{};
    const ssize_t length = spawned == 0 ? read(pipe_ends[0], line.data(), line.size() - 1) : -1;
    close(pipe_ends[0]);
    int status = 0;
    if (spawned != 0 || waitpid(launcher, &status, 0) != launcher || length <= 0)
        return std::nullopt;

    ProcessFigures figures;
    long long wall_ns = 0;
    if (std::sscanf(line.data(), "%d %lld %ld", &figures.exit_code, &wall_ns, &figures.peak_kib) !=
        3)
        return std::nullopt;
    figures.wall_seconds = static_cast<double>(wall_ns) * 1e-9;
    return figures;
}

void measure_script(benchmark::State& state, const std::string& script) {
    long peak_kib = 0;
    for (auto _ : state) {
        const auto figures = run_script(script);
        if (!figures || figures->exit_code != 0) {
            state.SkipWithError("tavrix-script did not end well");
            return;
        }
        state.SetIterationTime(figures->wall_seconds);
        peak_kib = std::max(peak_kib, figures->peak_kib);
    }
    state.counters["peak_KiB"] = static_cast<double>(peak_kib);
}

void example_script(benchmark::State& state) {
    measure_script(state, TAVRIX_EXAMPLE_SCRIPT);
}
BENCHMARK(example_script)->Name("script/example")->UseManualTime()->Unit(benchmark::kMillisecond);

// One "Generar!" of state.range(0) frames: X from 0 upward.
void frames_script(benchmark::State& state) {
    const std::string script = scratch_path("frames-" + std::to_string(state.range(0)) + ".tvs");
    std::ofstream(script) << "set Text11 frames.def\n"
                          << "set Text6 " << state.range(0) - 1 << "\n"
                          << "click Command1\n";
    measure_script(state, script);
}
BENCHMARK(frames_script)
    ->Name("script/frames")
    ->Arg(1'000)
    ->Arg(1'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrix::bench
