#include "store/navigation.h"

#include <string>

#include "common/numbers.h"

namespace tavrix {
namespace {

using C = ControlId;
using T = TableId;
constexpr LoadAs kText = LoadAs::Text;
constexpr LoadAs kCheck = LoadAs::CheckValue;

// clang-format off
constexpr std::array<ReloadStep, kReloadStepCount> kSteps{{
    {C::ttika,     T::esc_ttika,     kText},   //  1
    {C::Check6,    T::esc_Check6,    kCheck},  //  2
    {C::tikdd,     T::esc_tikdd,     kText},   //  3
    {C::Check7,    T::esc_Check7,    kCheck},  //  4
    {C::soundfile, T::esc_soundfile, kText},   //  5
    {C::rojo,      T::esc_rojo,      kText},   //  6
    {C::azul,      T::esc_azul,      kText},   //  7
    {C::verde,     T::esc_verde,     kText},   //  8
    {C::Text16,    T::esc_Text16,    kText},   //  9
    {C::Text17,    T::esc_Text17,    kText},   // 10
    {C::Text18,    T::esc_Text18,    kText},   // 11
    {C::Text19,    T::esc_Text19,    kText},   // 12
    {C::Check8,    T::esc_Check8,    kCheck},  // 13
    {C::Text27,    T::esc_Text27,    kText},   // 14
    {C::Text26,    T::esc_Text26,    kText},   // 15
    {C::Text25,    T::esc_Text25,    kText},   // 16
    {C::Text15,    T::esc_Text15,    kText},   // 17
    {C::Text20,    T::esc_Text20,    kText},   // 18
    {C::Text24,    T::esc_Text24,    kText},   // 19
    {C::Text23,    T::esc_Text23,    kText},   // 20
    {C::Text22,    T::esc_Text22,    kText},   // 21
    {C::Text21,    T::esc_Text21,    kText},   // 22
    {C::Text14,    T::esc_Text14,    kText},   // 23
    {C::Text1,     T::anim_Text1,    kText},   // 24: the "Desde:" row
    {C::Text2,     T::anim_Text2,    kText},   // 25
    {C::Text3,     T::anim_Text3,    kText},   // 26
    {C::Text7,     T::anim_Text7,    kText},   // 27
    {C::Text8,     T::anim_Text8,    kText},   // 28
    {C::Text4,     T::anim_Text4,    kText},   // 29: the "Hasta:" row
    {C::Text5,     T::anim_Text5,    kText},   // 30
    {C::Text6,     T::anim_Text6,    kText},   // 31
    {C::Text9,     T::anim_Text9,    kText},   // 32
    {C::Text10,    T::anim_Text10,   kText},   // 33
    {C::Check1,    T::esc_Check1,    kCheck},  // 34: the Estático boxes
    {C::Check2,    T::esc_Check2,    kCheck},  // 35
    {C::Check3,    T::esc_Check3,    kCheck},  // 36
    {C::Check4,    T::esc_Check4,    kCheck},  // 37
    {C::Check5,    T::esc_Check5,    kCheck},  // 38
    {C::cantA,     T::esc_cantA,     kText},   // 39
}};
// clang-format on

constexpr std::size_t kFirstFromStep = 23;  // index of step 24
constexpr std::size_t kLastFromStep = 27;   // index of step 28
constexpr std::size_t kCountStep = 38;      // index of step 39

void load(EditorContext& editor, const ReloadStep& step) {
    const std::optional<Position> at = current_position(editor.window);
    if (!at)
        return;  // never addressed outside the store
    if (step.as == LoadAs::CheckValue) {
        editor.window.set_value(step.control, editor.store.load_check(step.table, *at));
    } else if (const auto* text = std::get_if<std::string>(&editor.store.at(step.table, *at))) {
        editor.window.set_text(step.control, *text);
    } else {
        editor.window.set_text(step.control, editor.store.load_text(step.table, *at));
    }
}

// The copies held back while the "Desde:" row loaded, made now that the Estático boxes show
// the destination's state.
void release_held_copies(EditorContext& editor) {
    for (std::size_t i = 0; i < kRangeCount; ++i) {
        if (!editor.hold.marked[i])
            continue;
        const FrameRange& range = kFrameRanges[i];
        if (editor.window.value(range.box) == 1) {
            editor.window.set_text(range.to, editor.window.text(range.from));
        }
    }
    editor.hold.marked = {};
}

void step_caption(Window& window, ControlId caption, int to) {
    window.set_caption(caption, std::to_string(to));
}

}  // namespace

const std::array<ReloadStep, kReloadStepCount>& reload_steps() {
    return kSteps;
}

void scene_reload(EditorContext& editor) {
    editor.hold.marked = {};
    for (std::size_t i = 0; i < kSteps.size(); ++i) {
        if (i == kCountStep)
            release_held_copies(editor);
        editor.hold.active = i >= kFirstFromStep && i <= kLastFromStep;
        load(editor, kSteps[i]);
    }
    editor.hold.active = false;
}

void botant_Click(EditorContext& editor) {
    const std::optional<int> scene = caption_index(editor.window.caption(C::Escena));
    if (scene && *scene > 0)
        step_caption(editor.window, C::Escena, *scene - 1);
    scene_reload(editor);
}

// A count text that is not wholly a number leaves the scene where it is, and the caption
// never goes past 9.
void botsig_Click(EditorContext& editor) {
    const std::optional<double> count = strict_number(editor.window.text(C::ndees));
    const std::optional<int> scene = caption_index(editor.window.caption(C::Escena));
    if (count && scene && *count - 1 > *scene && *scene < kScenes - 1) {
        step_caption(editor.window, C::Escena, *scene + 1);
    }
    scene_reload(editor);
}

void Command3_Click(EditorContext& editor) {
    const std::optional<int> animation = caption_index(editor.window.caption(C::nroAnim));
    if (animation && *animation > 0)
        step_caption(editor.window, C::nroAnim, *animation - 1);
    scene_reload(editor);
}

// The caption and the count are compared as texts, code by code; the caption never goes
// past 9.
void Command2_Click(EditorContext& editor) {
    const std::string& caption = editor.window.caption(C::nroAnim);
    const std::optional<int> animation = caption_index(caption);
    if (animation && caption < editor.window.text(C::cantA) && *animation < kAnimations - 1) {
        step_caption(editor.window, C::nroAnim, *animation + 1);
    }
    scene_reload(editor);
}

}  // namespace tavrix
