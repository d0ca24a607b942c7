#include "app/whole_storyboard.h"

#include <algorithm>

#include "editor/navigation.h"
#include "storyboard/on_screen.h"

namespace tavrix {
namespace {

// Scene `index` as the copy shows it at its first animation, then the rows of the next
// animations while "->" could reach them.
Storyboard::Scene scene_from_store(Form1& copy, int index) {
    copy.bring_up({index, 0});
    Storyboard::Scene scene = scene_on_screen(copy.window(), true);
    for (int animation = 0; animation_follows(copy.window(), animation); ++animation) {
        copy.bring_up({index, animation + 1});
        scene.action.push_back(row_on_screen(copy.window()));
    }
    return scene;
}

using C = ControlId;

void type(Form1& form, ControlId id, std::string_view text) {
    (void)form.type_text(id, text);
}

void set_box(Form1& form, ControlId box, bool ticked) {
    if ((form.window().value(box) == 1) != ticked)
        (void)form.click(box);
}

void type_scene(Form1& form, const Storyboard::Scene& scene, int index) {
    form.bring_up({index, 0});
    set_box(form, C::Check6, scene.fade.has_value());
    set_box(form, C::Check7, scene.music.has_value());
    set_box(form, C::Check8, scene.background.has_value());
    for (const FrameRange& range : kFrameRanges)
        set_box(form, range.box, false);
    for_each_scene_text(scene,
                        [&form](ControlId id, const std::string& text) { type(form, id, text); });
    const std::size_t rows = scene.action.size();
    type(form, C::cantA, std::to_string(rows > 0 ? rows - 1 : 0));
    for (std::size_t animation = 0; animation < rows; ++animation) {
        form.bring_up({index, static_cast<int>(animation)});
        for (std::size_t r = 0; r < kRangeCount; ++r) {
            type(form, kFrameRanges[r].from, scene.action[animation][r].from);
            type(form, kFrameRanges[r].to, scene.action[animation][r].to);
        }
    }
}

}  // namespace

std::vector<std::string> type_storyboard(Form1& form, const Storyboard& storyboard) {
    const std::size_t count = std::min<std::size_t>(storyboard.scenes.size(), kScenes);
    for (std::size_t i = 0; i < count; ++i)
        type_scene(form, storyboard.scenes[i], static_cast<int>(i));
    type(form, C::Text12, storyboard.header.sprite_file);
    set_box(form, C::Check9, storyboard.header.start_scene.has_value());
    if (const auto& start = storyboard.header.start_scene)
        type(form, C::Text13, *start);
    type(form, C::ndees, std::to_string(count));
    form.bring_up({0, 0});
    std::vector<std::string> unreachable;
    for (std::size_t i = 1; i < count; ++i) {
        if (scene_follows(form.window(), static_cast<int>(i) - 1))
            continue;
        unreachable.push_back("Escena " + std::to_string(i) + ": «" +
                              std::string(control_def(C::Label15).text) + "» no pasa de " +
                              form.window().text(C::ndees) +
                              ": la escena queda guardada, pero ni las flechas ni «Generar "
                              "storyboard completo» llegan a ella.");
    }
    return unreachable;
}

Storyboard store_storyboard(const Form1& form) {
    Form1 copy(form.platform());
    copy.restore(form.snapshot());
    Storyboard storyboard{header_on_screen(copy.window()), {}};
    for (int scene = 0; scene < kScenes && scene_follows(copy.window(), scene - 1); ++scene)
        storyboard.scenes.push_back(scene_from_store(copy, scene));
    return storyboard;
}

}  // namespace tavrix
