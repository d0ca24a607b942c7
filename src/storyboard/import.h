// A storyboard file taken into the window's terms: its scenes in the order an engine plays
// them, at most ten, each with its layer 0's action said again as at most ten rows of five
// ranges, and one Spanish line for every thing of the file that the window cannot hold.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "storyboard/storyboard.h"
#include "storyboard/storyboard_text.h"

namespace tavrix {

inline constexpr std::size_t kImportedScenes = 10;
inline constexpr std::size_t kImportedRows = 10;  // the animations of a scene

struct ImportedStoryboard {
    // A value a key does not give is empty; the scenes' engine keys are off, since the
    // window works them out again.
    Storyboard storyboard;
    // What is not taken, each line naming the scene (or the section) and the key.
    std::vector<std::string> not_taken;
};

[[nodiscard]] ImportedStoryboard import_storyboard(const StoryboardText& text);

}  // namespace tavrix
