#include "editor/editor_context.h"

namespace tavrix {

std::optional<int> caption_index(std::string_view caption) {
    if (caption.size() != 1 || caption[0] < '0' || caption[0] > '9')
        return std::nullopt;
    return caption[0] - '0';
}

std::optional<int> current_scene(const Window& window) {
    return caption_index(window.caption(ControlId::Escena));
}

std::optional<Position> current_position(const Window& window) {
    const std::optional<int> scene = current_scene(window);
    if (!scene)
        return std::nullopt;
    const std::optional<int> animation = caption_index(window.caption(ControlId::nroAnim));
    if (!animation)
        return std::nullopt;
    return Position{*scene, *animation};
}

}  // namespace tavrix
