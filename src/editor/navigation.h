// The scene arrows (botant, botsig), the animation arrows (Command3, Command2) and the scene
// reload that all four end with: 39 loads from the store, each raising the control's rule.
#pragma once

#include "editor/editor_context.h"
#include "model/controls.h"

namespace tavrix {

// Loads every table, in the store's reload order, into its control.
void scene_reload(EditorContext& editor);

// The Click handler of an arrow button; none for any other control.
using ArrowClick = void (*)(EditorContext&);
ArrowClick arrow_click_for(ControlId button);

}  // namespace tavrix
