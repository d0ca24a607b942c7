// The plan of the scene that "Generar!" would write, each value read as an engine reads the
// text that the file holds. The scene lasts what "Archivo listo para el motor" would write
// as its length, whether or not the option is on, so that the stage shows what is meant.
#pragma once

#include <cstdint>

#include "stage/plan.h"
#include "storyboard/storyboard.h"

namespace tavrix {

// An action longer than this many shown frames is planned up to here; the scene still
// lasts its whole length.
inline constexpr std::uint64_t kMaxPlannedFrames = 1'000'000;

[[nodiscard]] Plan plan_scene(const Storyboard::Scene& scene);

}  // namespace tavrix
