#include "editor/navigation.h"

#include <string>

#include "common/numbers.h"

namespace tavrix {
namespace {

using C = ControlId;

// One load of the reload, worked out once from the store's table.
struct Load {
    const TableDef* table;
    bool check_value;  // a check box's value, not a text
    // A "Desde:" field makes no Estático copy while it loads: the boxes still show the scene
    // that is being left.
    bool holds_copy;
    bool last_box;  // the copies held back are made once the last Estático box has loaded
};

const std::array<Load, kTableCount> kLoads = [] {
    std::array<Load, kTableCount> loads{};
    for (std::size_t i = 0; i < kTableCount; ++i) {
        const TableDef& table = tables_in_reload_order()[i];
        const std::optional<std::size_t> range = range_of(table.control);
        loads[i] = {&table, control_def(table.control).kind == Kind::CheckBox,
                    range && kFrameRanges[*range].from == table.control,
                    table.control == kFrameRanges.back().box};
    }
    return loads;
}();

void load(EditorContext& editor, const Load& step) {
    const std::optional<Position> at = current_position(editor.window);
    if (!at)
        return;  // never addressed outside the store
    const TableDef& table = *step.table;
    if (step.check_value) {
        editor.window.set_value(table.control, editor.store.load_check(table.id, *at));
    } else if (const auto* text = std::get_if<std::string>(&editor.store.at(table.id, *at))) {
        editor.window.set_text(table.control, *text);
    } else {
        editor.window.set_text(table.control, editor.store.load_text(table.id, *at));
    }
}

// The copies held back while the "Desde:" row loaded, made now that the Estático boxes show
// the destination's state.
void release_held_copies(EditorContext& editor) {
    for (std::size_t i = 0; i < kRangeCount; ++i) {
        if (!editor.hold.marked[i])
            continue;
        copy_while_static(editor.window, kFrameRanges[i]);
    }
    editor.hold.marked = {};
}

void step_caption(Window& window, ControlId caption, int to) {
    window.set_caption(caption, std::to_string(to));
}

void botant_Click(EditorContext& editor) {
    const std::optional<int> scene = caption_index(editor.window.caption(C::Escena));
    if (scene && *scene > 0)
        step_caption(editor.window, C::Escena, *scene - 1);
    scene_reload(editor);
}

void botsig_Click(EditorContext& editor) {
    const std::optional<int> scene = caption_index(editor.window.caption(C::Escena));
    if (scene && scene_follows(editor.window, *scene))
        step_caption(editor.window, C::Escena, *scene + 1);
    scene_reload(editor);
}

void Command3_Click(EditorContext& editor) {
    const std::optional<int> animation = caption_index(editor.window.caption(C::nroAnim));
    if (animation && *animation > 0)
        step_caption(editor.window, C::nroAnim, *animation - 1);
    scene_reload(editor);
}

void Command2_Click(EditorContext& editor) {
    const std::optional<int> animation = caption_index(editor.window.caption(C::nroAnim));
    if (animation && animation_follows(editor.window, *animation))
        step_caption(editor.window, C::nroAnim, *animation + 1);
    scene_reload(editor);
}

}  // namespace

// A count text that is not wholly a number lets no scene follow, and none follows 9.
bool scene_follows(const Window& window, int scene) {
    const std::optional<double> count = strict_number(window.text(C::ndees));
    return count && *count - 1 > scene && scene < kScenes - 1;
}

// The animation and the count are compared as texts, code by code; none follows 9.
bool animation_follows(const Window& window, int animation) {
    return animation < kAnimations - 1 && std::to_string(animation) < window.text(C::cantA);
}

void bring_up(EditorContext& editor, Position at) {
    step_caption(editor.window, C::Escena, at.scene);
    step_caption(editor.window, C::nroAnim, at.animation);
    scene_reload(editor);
}

void scene_reload(EditorContext& editor) {
    editor.hold.marked = {};
    for (const Load& step : kLoads) {
        editor.hold.active = step.holds_copy;
        load(editor, step);
        if (step.last_box)
            release_held_copies(editor);
    }
    editor.hold.active = false;
}

ArrowClick arrow_click_for(ControlId button) {
    switch (button) {
        case C::botant:
            return botant_Click;
        case C::botsig:
            return botsig_Click;
        case C::Command3:
            return Command3_Click;
        case C::Command2:
            return Command2_Click;
        default:
            return nullptr;
    }
}

}  // namespace tavrix
