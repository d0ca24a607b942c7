// The work behind a keystroke and behind an arrow press: the change rules' cascade and the
// 39 loads of a reload.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_support.h"
#include "editor/navigation.h"

namespace tavrix::bench {
namespace {

using C = ControlId;

// Typing into "Desde:" of the group range while its Estático box is ticked: the field's rule
// normalises and stores, copies into "Hasta:", whose own rule normalises and stores too.
void keystroke_cascade(benchmark::State& state) {
    const auto form = make_form();
    (void)form->click(C::Check1);
    (void)form->type_text(C::Text1, "5");
    if (form->window().text(C::Text4) != "5" || form->window().value(C::Check1) != 1) {
        state.SkipWithError("the Estático box of Grupo does not copy Desde into Hasta");
        return;
    }
    bool odd = false;
    const std::uint64_t before = allocation_count();
    for (auto _ : state) {
        (void)form->type_text(C::Text1, odd ? "5" : "6");
        odd = !odd;
    }
    report_allocations(state, "allocs/op", before);
    benchmark::DoNotOptimize(form->store().at(TableId::anim_Text4, {0, 0}));
}
BENCHMARK(keystroke_cascade)->Name("keystroke/estatico_cascade");

// An arrow that cannot move (scene or animation 0) still runs the whole reload. The first
// press has already brought every field in line with the store, so each press is 39 loads
// that find what the fields show.
void reload_in_place(benchmark::State& state, ControlId arrow) {
    const auto form = make_form();
    (void)form->click(arrow);
    const std::uint64_t before = allocation_count();
    for (auto _ : state)
        (void)form->click(arrow);
    report_allocations(state, "allocs/op", before);
    benchmark::DoNotOptimize(form->window().text(C::Text1));
}
BENCHMARK_CAPTURE(reload_in_place, scene, C::botant)->Name("reload/scene");
BENCHMARK_CAPTURE(reload_in_place, animation, C::Command3)->Name("reload/animation");

// Types a different text into every stored text field that a person can reach.
void fill_fields(Form1& form, int first_value) {
    int value = first_value;
    for (const TableDef& table : tables_in_reload_order()) {
        if (control_def(table.control).kind == Kind::TextBox)
            (void)form.type_text(table.control, std::to_string(value++));
    }
}

void click_all(Form1& form, std::initializer_list<ControlId> boxes) {
    for (ControlId box : boxes)
        (void)form.click(box);
}

// Scenes 0 and 1 hold different texts in every field and different boxes, so each press
// changes every field: each load runs its rule, which stores back, and the boxes' toggle
// rules enable, disable, hide and copy.
void reload_between_scenes(benchmark::State& state) {
    const auto form = make_form();
    click_all(*form, {C::Check5, C::Check6, C::Check7, C::Check8});
    fill_fields(*form, 100);
    const std::string scene_0_red = form->window().text(C::rojo);
    (void)form->type_text(C::ndees, "2");
    (void)form->click(C::botsig);
    click_all(*form, {C::Check6, C::Check7, C::Check8});
    fill_fields(*form, 200);
    click_all(*form, {C::Check6, C::Check7, C::Check8, C::Check1, C::Check3});
    (void)form->click(C::botant);
    if (form->window().caption(C::Escena) != "0" || form->window().text(C::rojo) != scene_0_red) {
        state.SkipWithError("la escena 0 no guarda lo escrito");
        return;
    }
    bool back = false;
    const std::uint64_t before = allocation_count();
    for (auto _ : state) {
        (void)form->click(back ? C::botant : C::botsig);
        back = !back;
    }
    report_allocations(state, "allocs/op", before);
    benchmark::DoNotOptimize(form->window().text(C::Text1));
}
BENCHMARK(reload_between_scenes)->Name("reload/two_scenes_alternating");

}  // namespace
}  // namespace tavrix::bench
