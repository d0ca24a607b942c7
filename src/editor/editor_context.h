// What the field rules, the toggle rules and navigation work on: the controls, the scene
// store, and the Estático copies that a reload holds back.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "model/ranges.h"
#include "model/window.h"
#include "store/scene_store.h"

namespace tavrix {

// While a reload loads the "Desde:" fields, their rules make no Estático copy; they mark
// the range instead, and the reload makes the copy once the boxes show the destination's
// state, so that no stored "Hasta:" value of the destination is lost.
struct EstaticoHold {
    bool active = false;
    std::array<bool, kRangeCount> marked{};
};

struct EditorContext {
    Window& window;
    SceneStore& store;
    EstaticoHold& hold;
};

// The whole number 0 to 9 that a position caption shows; nothing for any other caption.
std::optional<int> caption_index(std::string_view caption);

// The current scene and animation, read from the `Escena` and `nroAnim` captions (the
// scene's first). Nothing when either caption is not a number from 0 to 9, in which case
// no rule touches the store.
std::optional<Position> current_position(const Window& window);
std::optional<int> current_scene(const Window& window);

// The Estático copy: while the range's box is ticked, its "Hasta:" field takes the text of
// its "Desde:" field.
inline void copy_while_static(Window& window, const FrameRange& range) {
    if (window.value(range.box) == 1)
        window.set_text(range.to, window.text(range.from));
}

}  // namespace tavrix
