#include "storyboard/shared_actions.h"

#include <cstdint>
#include <optional>
#include <span>

#include "model/controls.h"
#include "storyboard/action.h"
#include "storyboard/engine_reading.h"

namespace tavrix {
std::size_t action_owner(const Storyboard& storyboard, std::size_t index) {
    const std::string& number = storyboard.scenes[index].layer.animation;
    for (std::size_t i = 0; i < index; ++i) {
        if (same_action_number(storyboard.scenes[i].layer.animation, number))
            return i;
    }
    return index;
}

namespace {

// Enough frame lines to tell most actions apart without writing all of them.
constexpr std::uint64_t kFirstBytes = 256 * 1024;

// Whether two actions' frame lines differ; none when either cannot be expanded. Their
// beginnings are compared first, so that "Comprobar" stays quick on long actions that
// differ early; only equal beginnings of long actions are followed to their ends.
std::optional<bool> frames_differ(std::span<const Storyboard::Row> a,
                                  std::span<const Storyboard::Row> b) {
    const auto first_a = fingerprint(a, append_as_typed, kFirstBytes);
    const auto first_b = fingerprint(b, append_as_typed, kFirstBytes);
    if (!first_a || !first_b)
        return std::nullopt;
    if (*first_a != *first_b || first_a->whole)
        return *first_a != *first_b;
    const auto whole_a = fingerprint(a, append_as_typed);
    const auto whole_b = fingerprint(b, append_as_typed);
    if (!whole_a || !whole_b)
        return std::nullopt;
    return *whole_a != *whole_b;
}

}  // namespace

std::vector<ActionClash> action_clashes(const Storyboard& storyboard) {
    // Frames are compared as the fields give them, so that "Comprobar" and the writer agree
    // whatever the code page.
    const std::vector<Storyboard::Scene>& scenes = storyboard.scenes;
    std::vector<ActionClash> clashes;
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        const std::size_t owner = action_owner(storyboard, i);
        if (owner == i || scenes[owner].action == scenes[i].action)
            continue;
        if (frames_differ(scenes[owner].action, scenes[i].action).value_or(false))
            clashes.push_back({owner, i});
    }
    return clashes;
}

std::string clash_text(const Storyboard& storyboard, const ActionClash& clash) {
    const std::string number = storyboard.scenes[clash.owner].layer.animation;
    const std::string owner = std::to_string(clash.owner);
    return "Las escenas " + owner + " y " + std::to_string(clash.scene) + " tocan la acción " +
           number + " con marcos distintos, y el archivo solo tiene una acción " + number +
           ", la de la escena " + owner + ": cambie «" +
           std::string(control_def(ControlId::Label22).text) + "» de «" +
           std::string(control_def(ControlId::Frame4).text) + "» en una de ellas.";
}

}  // namespace tavrix
