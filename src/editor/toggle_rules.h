// The toggle rules of Check1 to Check9: an "Estático" box hides its "Hasta:" field and
// fills it from "Desde:"; a group box enables or disables its group. All but Check9 store
// the box's value at the current scene.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "editor/editor_context.h"
#include "model/controls.h"

namespace tavrix {

// An Estático box finds its range, and a stored box its table, by the box.
struct ToggleRule {
    ControlId box;
    std::span<const ControlId> group;  // group boxes: the controls it enables
};

inline constexpr std::size_t kToggleRuleCount = 9;

const std::array<ToggleRule, kToggleRuleCount>& toggle_rules();
const ToggleRule* toggle_rule_for(ControlId box);

// Runs the rule, as the box's Click event does.
void run_toggle_rule(EditorContext& editor, const ToggleRule& rule);

}  // namespace tavrix
