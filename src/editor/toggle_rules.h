// The toggle rules of Check1 to Check9: an "Estático" box hides its "Hasta:" field and
// fills it from "Desde:"; a group box enables or disables its group. All but Check9 store
// the box's value at the current scene.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "app/controls.h"
#include "editor/editor_context.h"
#include "store/scene_store.h"

namespace tavrix {

struct ToggleRule {
    ControlId box;
    std::string_view handler;
    std::optional<std::size_t> range;  // Estático boxes: index into kFrameRanges
    std::span<const ControlId> group;  // group boxes: the controls it enables
    std::optional<TableId> table;
};

inline constexpr std::size_t kToggleRuleCount = 9;

const std::array<ToggleRule, kToggleRuleCount>& toggle_rules();
const ToggleRule* toggle_rule_for(ControlId box);

// Runs the rule, as the box's Click event does.
void run_toggle_rule(EditorContext& editor, const ToggleRule& rule);

}  // namespace tavrix
