#include "storyboard/shared_actions.h"

#include <optional>

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

std::vector<ActionClash> action_clashes(const Storyboard& storyboard) {
    const std::vector<Storyboard::Scene>& scenes = storyboard.scenes;
    std::vector<std::optional<std::optional<ActionFingerprint>>> prints(scenes.size());
    const auto print_of = [&](std::size_t i) {
        if (!prints[i])
            prints[i] = fingerprint(scenes[i].action, append_as_typed);
        return *prints[i];
    };
    // Frames are compared as the fields give them, so that "Comprobar" and the writer agree
    // whatever the code page.
    std::vector<ActionClash> clashes;
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        const std::size_t owner = action_owner(storyboard, i);
        if (owner == i || scenes[owner].action == scenes[i].action)
            continue;
        const auto own = print_of(i);
        const auto owners = print_of(owner);
        if (own && owners && own != owners)
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
