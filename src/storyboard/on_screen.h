// The storyboard that the window shows: its header and the one scene on screen, read from
// the fields as they stand. A group whose box is not ticked is left out.
#pragma once

#include "model/window.h"
#include "storyboard/storyboard.h"

namespace tavrix {

[[nodiscard]] Storyboard::Header header_on_screen(const Window& window);

// `engine_keys`: "Archivo listo para el motor".
[[nodiscard]] Storyboard::Scene scene_on_screen(const Window& window, bool engine_keys);

// The five ranges of the animation on screen.
[[nodiscard]] Storyboard::Row row_on_screen(const Window& window);

[[nodiscard]] Storyboard storyboard_on_screen(const Window& window, bool engine_keys);

}  // namespace tavrix
