// The scene arrows (botant, botsig), the animation arrows (Command3, Command2) and the scene
// reload that all four end with: 39 loads from the store, each raising the field's rule.
#pragma once

#include <array>
#include <cstddef>

#include "app/controls.h"
#include "editor/editor_context.h"
#include "store/scene_store.h"

namespace tavrix {

enum class LoadAs : std::uint8_t { Text, CheckValue };

struct ReloadStep {
    ControlId control;
    TableId table;
    LoadAs as;
};

inline constexpr std::size_t kReloadStepCount = 39;
const std::array<ReloadStep, kReloadStepCount>& reload_steps();

void scene_reload(EditorContext& editor);

void botant_Click(EditorContext& editor);    // scene "<-"
void botsig_Click(EditorContext& editor);    // scene "->"
void Command3_Click(EditorContext& editor);  // animation "<-"
void Command2_Click(EditorContext& editor);  // animation "->"

}  // namespace tavrix
