// How long a run will be, found before it writes anything, so that a run too long for its
// purpose is refused or asked about first.
#pragma once

#include "storyboard/storyboard.h"
#include "storyboard/writer.h"

namespace tavrix {

// The frames the expansion writes for `row`, counted without writing them, in a time that
// does not grow with their number; a run that stops on a running value that is not a number
// counts the frames written up to there. The tick total is not followed: a run whose total
// leaves its range stops earlier than counted.
[[nodiscard]] RunSize count_frames(const Storyboard::Row& row, Encoder encode);

}  // namespace tavrix
