// Saving and opening a whole session with a full store: every one of the 1290 elements a
// 20-character text. The file goes through the real file layer into the memory file system.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_support.h"

namespace tavrix::bench {
namespace {

// A window whose every store element is a text of 20 characters, different in each.
std::unique_ptr<Form1> form_with_full_store() {
    auto form = make_form();
    Session session = form->snapshot();
    int counter = 0;
    for (std::size_t i = 0; i < kTableCount; ++i) {
        const TableDef& table = table_def(static_cast<TableId>(i));
        const int animations = table.kind == TableKind::PerAnimation ? kAnimations : 1;
        for (int scene = 0; scene < kScenes; ++scene) {
            for (int animation = 0; animation < animations; ++animation) {
                std::string text = "elemento-" + std::to_string(counter++);
                text.resize(20, 'x');
                session.store.store_text(table.id, {scene, animation}, text);
            }
        }
    }
    form->restore(session);
    return form;
}

void save_full_store(benchmark::State& state) {
    const auto form = form_with_full_store();
    const std::string path = scratch_path("llena.tavrix");
    for (auto _ : state) {
        if (const auto saved = form->save_session(path); !saved.ok())
            return state.SkipWithError(saved.error().message.c_str());
    }
    state.counters["file_bytes"] = static_cast<double>(read_file(path).size());
}
BENCHMARK(save_full_store)->Name("session/save_full_store")->UseRealTime();

void open_full_store(benchmark::State& state) {
    const std::string path = scratch_path("abierta.tavrix");
    if (const auto saved = form_with_full_store()->save_session(path); !saved.ok())
        return state.SkipWithError(saved.error().message.c_str());
    const auto form = make_form();
    for (auto _ : state) {
        if (const auto opened = form->open_session(path); !opened.ok())
            return state.SkipWithError(opened.error().message.c_str());
    }
}
BENCHMARK(open_full_store)->Name("session/open_full_store")->UseRealTime();

}  // namespace
}  // namespace tavrix::bench
