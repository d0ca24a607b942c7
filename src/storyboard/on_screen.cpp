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
    const auto text = [&window](ControlId id) { return window.text(id); };
    S::Scene scene;
    if (ticked(window, C::Check6))
        scene.fade = S::Fade{
            text(C::ttika), {text(C::Text25), text(C::Text26), text(C::Text27)}, text(C::tikdd)};
    scene.clear_colour = {text(C::rojo), text(C::verde), text(C::azul)};
    scene.layer = {text(C::Text16),
                   {text(C::Text17), text(C::Text18)},
                   {text(C::Text15), text(C::Text20)},
                   text(C::Text19)};
    if (ticked(window, C::Check7))
        scene.music = S::Music{text(C::soundfile), text(C::Text14)};
    if (ticked(window, C::Check8))
        scene.background = S::Background{text(C::Text24), {text(C::Text23), text(C::Text22)}};
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
