// The scene arrows (botant, botsig), the animation arrows (Command3, Command2) and the scene
// reload that all four end with: 39 loads from the store, each raising the control's rule.
#pragma once

#include "editor/editor_context.h"
#include "model/controls.h"

namespace tavrix {

// Loads every table, in the store's reload order, into its control.
void scene_reload(EditorContext& editor);

// Whether "->" moves on from `scene` (the count "Número de escenas:" allows it), and from
// `animation` (the scene's "Cantidad de animaciones:" allows it). Scene -1 asks whether
// the count allows any scene at all.
[[nodiscard]] bool scene_follows(const Window& window, int scene);
[[nodiscard]] bool animation_follows(const Window& window, int animation);

// Shows scene and animation `at` as the arrows do: both captions, then the scene reload.
void bring_up(EditorContext& editor, Position at);

// The Click handler of an arrow button; none for any other control.
using ArrowClick = void (*)(EditorContext&);
ArrowClick arrow_click_for(ControlId button);

}  // namespace tavrix
