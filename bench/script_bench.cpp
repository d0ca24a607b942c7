// tavrix-script as a whole process: wall time from fork to exit, and peak memory, on the
// example script and on scripts whose one "Generar!" expands a thousand or a million frames.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "bench_support.h"

namespace tavrix::bench {
namespace {

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
