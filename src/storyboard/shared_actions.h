// Scenes whose layers play the same action number share one action in the file: the one
// that the first of them writes. A later scene whose own frames differ would play the first
// one's frames, so the whole storyboard is refused and "Comprobar" says why.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "storyboard/storyboard.h"

namespace tavrix {

// The scene that writes the action that scene `index` plays: the first one whose layer
// plays the same number (`index` itself when no earlier one does).
[[nodiscard]] std::size_t action_owner(const Storyboard& storyboard, std::size_t index);

struct ActionClash {
    std::size_t owner;  // writes the action
    std::size_t scene;  // plays the same number with other frames
};

// Every scene whose frame lines differ from those of its action's owner, in scene order. A
// scene whose frames cannot be expanded fails on its own and is not listed.
[[nodiscard]] std::vector<ActionClash> action_clashes(const Storyboard& storyboard);

// One sentence naming both scenes and the action.
[[nodiscard]] std::string clash_text(const Storyboard& storyboard, const ActionClash& clash);

}  // namespace tavrix
