// "Generar storyboard completo" of a full store, and "Importar storyboard..." of the file it
// wrote: every scene the arrows reach (nine, since "Número de escenas:" stops at 9) of ten
// animations, each animation 1,000 frames (X from 0 to 999), typed in as a person would. The export
// writes through the real file layer into the memory file system, as the long expansion does, so
// that the two compare per byte; the import reads the file from memory.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench_support.h"
#include "support/memory_output.h"

namespace tavrix::bench {
namespace {

using C = ControlId;

constexpr int kFramesPerAnimation = 1000;
constexpr int kReachedScenes = 9;

// Every scene plays an action of its own; each animation has a group of its own.
bool fill_store(Form1& form) {
    bool done = form.type_text(C::ndees, std::to_string(kReachedScenes)) == ActionStatus::Done;
    for (int scene = 0; scene < kReachedScenes && done; ++scene) {
        // "->" keeps the animation: back to the first one.
        for (int arrow = 0; scene > 0 && arrow < kAnimations; ++arrow)
            done = done && form.click(arrow == 0 ? C::botsig : C::Command3) == ActionStatus::Done;
        const std::string last = std::to_string(kAnimations - 1);
        done = done && form.type_text(C::cantA, last) == ActionStatus::Done &&
               form.type_text(C::Text16, std::to_string(scene)) == ActionStatus::Done;
        for (int animation = 0; animation < kAnimations && done; ++animation) {
            if (animation > 0)
                done = form.click(C::Command2) == ActionStatus::Done;
            const std::string group = std::to_string(animation);
            for (const auto& [id, text] : {std::pair{C::Text1, group},
                                           {C::Text4, group},
                                           {C::Text3, std::string("0")},
                                           {C::Text6, std::to_string(kFramesPerAnimation - 1)}})
                done = done && form.type_text(id, text) == ActionStatus::Done;
        }
    }
    form.bring_up({0, 0});
    return done;
}

std::unique_ptr<Form1> full_store_form(benchmark::State& state) {
    auto form = make_form();
    if (!fill_store(*form)) {
        state.SkipWithError("the store could not be filled as a person would");
        return nullptr;
    }
    return form;
}

bool export_to(benchmark::State& state, Form1& form, const std::string& path) {
    if (const RunResult run = form.export_storyboard(path); !run.ok()) {
        state.SkipWithError(run.error().message.c_str());
        return false;
    }
    return true;
}

void export_full_store(benchmark::State& state) {
    const auto form = full_store_form(state);
    const std::string path = scratch_path("completo.def");
    if (!form)
        return;
    for (auto _ : state) {
        if (!export_to(state, *form, path))
            return;
    }
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    state.SetBytesProcessed(bytes * state.iterations());
    state.counters["frames"] =
        benchmark::Counter(static_cast<double>(kReachedScenes * kAnimations * kFramesPerAnimation) *
                               static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(export_full_store)
    ->Name("whole_storyboard/export_full_store")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void import_full_store(benchmark::State& state) {
    const auto form = full_store_form(state);
    const std::string path = scratch_path("importado.def");
    if (!form || !export_to(state, *form, path))
        return;
    auto file = std::make_shared<testing::MemoryFile>();
    file->committed = read_file(path);
    Form1 importer(testing::memory_platform(file));
    for (auto _ : state) {
        const auto imported = importer.import_storyboard("completo.def");
        if (!imported.ok())
            return state.SkipWithError(imported.error().c_str());
        if (!imported.value().empty())
            return state.SkipWithError(imported.value().front().c_str());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(file->committed.size()) * state.iterations());
}
BENCHMARK(import_full_store)
    ->Name("whole_storyboard/import_full_store")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrix::bench
