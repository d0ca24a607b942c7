#include "editor/toggle_rules.h"

namespace tavrix {
namespace {

using C = ControlId;

constexpr std::array kFadeGroup{C::tikdea,  C::ttika,  C::tikdedes, C::tikdd,
                                C::Label35, C::Text25, C::Text26,   C::Text27};
constexpr std::array kMusicGroup{C::soundfile, C::Label26, C::Text14};
// Every control of the mask frame but its box and the "," label, which stays enabled.
constexpr std::array kMaskGroup{C::Label30, C::Text24,  C::Label29, C::Text23,
                                C::Text22,  C::Label27, C::Text21};
constexpr std::array kStartSceneGroup{C::Label17, C::Text13};

constexpr std::array<ToggleRule, kToggleRuleCount> kRules{{
    {C::Check1, {}},
    {C::Check2, {}},
    {C::Check3, {}},
    {C::Check4, {}},
    {C::Check5, {}},
    {C::Check6, kFadeGroup},
    {C::Check7, kMusicGroup},
    {C::Check8, kMaskGroup},
    {C::Check9, kStartSceneGroup},
}};

constexpr std::array<const ToggleRule*, kControlCount> kRuleByBox = [] {
    std::array<const ToggleRule*, kControlCount> by_box{};
    for (const ToggleRule& rule : kRules)
        by_box[index_of(rule.box)] = &rule;
    return by_box;
}();

// Hiding comes first, then the copy, whose nested "Hasta:" rule stores the text before the
// box's own value is stored.
void make_static(Window& window, const FrameRange& range, bool ticked) {
    window.set_visible(range.to, !ticked);
    copy_while_static(window, range);
}

}  // namespace

const std::array<ToggleRule, kToggleRuleCount>& toggle_rules() {
    return kRules;
}

const ToggleRule* toggle_rule_for(ControlId box) {
    return kRuleByBox[index_of(box)];
}

void run_toggle_rule(EditorContext& editor, const ToggleRule& rule) {
    const bool ticked = editor.window.value(rule.box) == 1;
    if (const auto range = range_of(rule.box)) {
        make_static(editor.window, kFrameRanges[*range], ticked);
    } else {
        for (ControlId control : rule.group)
            editor.window.set_enabled(control, ticked);
    }
    const TableDef* table = table_for(rule.box);
    if (!table)
        return;
    if (const auto scene = current_scene(editor.window)) {
        const auto value = static_cast<std::int16_t>(editor.window.value(rule.box));
        editor.store.store_number(table->id, {*scene, 0}, value);
    }
}

}  // namespace tavrix
