#include "editor/toggle_rules.h"

namespace tavrix {
namespace {

using C = ControlId;
using T = TableId;

constexpr std::array kFadeGroup{C::tikdea,  C::ttika,  C::tikdedes, C::tikdd,
                                C::Label35, C::Text25, C::Text26,   C::Text27};
constexpr std::array kMusicGroup{C::soundfile, C::Label26, C::Text14};
// Every control of the mask frame but its box and the "," label, which stays enabled.
constexpr std::array kMaskGroup{C::Label30, C::Text24,  C::Label29, C::Text23,
                                C::Text22,  C::Label27, C::Text21};
constexpr std::array kStartSceneGroup{C::Label17, C::Text13};

// clang-format off
constexpr std::array<ToggleRule, kToggleRuleCount> kRules{{
    {C::Check1, "Check1_Click", kGroup, {},               T::esc_Check1},
    {C::Check2, "Check2_Click", kImage, {},               T::esc_Check2},
    {C::Check3, "Check3_Click", kX,     {},               T::esc_Check3},
    {C::Check4, "Check4_Click", kY,     {},               T::esc_Check4},
    {C::Check5, "Check5_Click", kSpeed, {},               T::esc_Check5},
    {C::Check6, "Check6_Click", {},     kFadeGroup,       T::esc_Check6},
    {C::Check7, "Check7_Click", {},     kMusicGroup,      T::esc_Check7},
    {C::Check8, "Check8_Click", {},     kMaskGroup,       T::esc_Check8},
    {C::Check9, "Check9_Click", {},     kStartSceneGroup, {}},
}};
// clang-format on

constexpr std::array<const ToggleRule*, kControlCount> kRuleByBox = [] {
    std::array<const ToggleRule*, kControlCount> by_box{};
    for (const ToggleRule& rule : kRules)
        by_box[index_of(rule.box)] = &rule;
    return by_box;
}();

// Hiding comes first, then the copy, whose nested "Hasta:" rule stores the text before the
// box's own value is stored.
void make_static(Window& window, const FrameRange& range, bool ticked) {
    if (ticked) {
        window.set_visible(range.to, false);
        window.set_text(range.to, window.text(range.from));
    } else {
        window.set_visible(range.to, true);
    }
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
    if (rule.range) {
        make_static(editor.window, kFrameRanges[*rule.range], ticked);
    } else {
        for (ControlId control : rule.group)
            editor.window.set_enabled(control, ticked);
    }
    if (!rule.table)
        return;
    if (const auto scene = current_scene(editor.window)) {
        const auto value = static_cast<std::int16_t>(editor.window.value(rule.box));
        editor.store.store_number(*rule.table, {*scene, 0}, value);
    }
}

}  // namespace tavrix
