// "Comprobar" in process: on the default storyboard (which names files that are not there),
// and on a long expansion whose every frame has a finding (X holds a fraction), which the
// check counts rather than lists.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_support.h"

namespace tavrix::bench {
namespace {

using C = ControlId;

void check_form(benchmark::State& state, const Form1& form) {
    std::size_t findings = 0;
    for (auto _ : state) {
        const std::vector<std::string> lines = form.check();
        findings = lines.size();
        benchmark::DoNotOptimize(lines.data());
    }
    state.counters["findings"] = static_cast<double>(findings);
}

void default_storyboard(benchmark::State& state) {
    const auto form = make_form();
    (void)form->type_text(C::Text11, scratch_path("comprobar.def"));
    check_form(state, *form);
}
BENCHMARK(default_storyboard)->Name("check/default_storyboard")->UseRealTime();

// X from 0.5 to 1000000: a million frames, each with a fraction in X.
void fractional_long_expansion(benchmark::State& state) {
    const auto form = make_form();
    (void)form->type_text(C::Text11, scratch_path("comprobar.def"));
    (void)form->type_text(C::Text3, "0.5");
    (void)form->type_text(C::Text6, "1000000");
    check_form(state, *form);
}
BENCHMARK(fractional_long_expansion)
    ->Name("check/fractional_long_expansion")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace tavrix::bench
