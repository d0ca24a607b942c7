#include "storyboard/on_screen.h"

namespace tavrix {
namespace {

using C = ControlId;
using S = Storyboard;

bool ticked(const Window& window, ControlId box) {
    return window.value(box) == 1;
}

}  // namespace

S::Header header_on_screen(const Window& window) {
    S::Header header{window.text(C::Text12), std::nullopt};
    if (ticked(window, C::Check9))
        header.start_scene = window.text(C::Text13);
    return header;
}

S::Scene scene_on_screen(const Window& window, bool engine_keys) {
    S::Scene scene;
    if (ticked(window, C::Check6))
        scene.fade.emplace();
    if (ticked(window, C::Check7))
        scene.music.emplace();
    if (ticked(window, C::Check8))
        scene.background.emplace();
    for_each_scene_text(scene,
                        [&window](ControlId id, std::string& text) { text = window.text(id); });
    scene.engine_keys = engine_keys;
    scene.action.push_back(row_on_screen(window));
    return scene;
}

S::Row row_on_screen(const Window& window) {
    std::array<std::string, kRangeCount> from;
    std::array<std::string, kRangeCount> to;
    for (std::size_t i = 0; i < kRangeCount; ++i) {
        from[i] = window.text(kFrameRanges[i].from);
        to[i] = window.text(kFrameRanges[i].to);
    }
    return range_row(from, to);
}

Storyboard storyboard_on_screen(const Window& window, bool engine_keys) {
    Storyboard storyboard{header_on_screen(window), {}};
    storyboard.scenes.push_back(scene_on_screen(window, engine_keys));
    return storyboard;
}

}  // namespace tavrix
