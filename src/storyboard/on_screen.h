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

// Every text of `scene` beside the box that holds it, in the order the window takes them;
// a group's texts only when the scene has the group. The one list that reading a scene off
// the window and typing one in both follow. `SceneType`: Storyboard::Scene, const or not.
template <typename SceneType, typename Each>
void for_each_scene_text(SceneType& scene, Each each) {
    using C = ControlId;
    if (auto& fade = scene.fade) {
        each(C::ttika, fade->in_time);
        each(C::Text25, fade->in_colour[0]);
        each(C::Text26, fade->in_colour[1]);
        each(C::Text27, fade->in_colour[2]);
        each(C::tikdd, fade->out_time);
    }
    each(C::rojo, scene.clear_colour[0]);
    each(C::verde, scene.clear_colour[1]);
    each(C::azul, scene.clear_colour[2]);
    auto& layer = scene.layer;
    each(C::Text16, layer.animation);
    each(C::Text17, layer.position[0]);
    each(C::Text18, layer.position[1]);
    each(C::Text15, layer.offset[0]);
    each(C::Text20, layer.offset[1]);
    each(C::Text19, layer.start_time);
    if (auto& music = scene.music) {
        each(C::soundfile, music->file);
        each(C::Text14, music->loops);
    }
    if (auto& background = scene.background) {
        each(C::Text24, background->action);
        each(C::Text23, background->start[0]);
        each(C::Text22, background->start[1]);
    }
}

}  // namespace tavrix
