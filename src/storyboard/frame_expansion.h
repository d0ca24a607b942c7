// The frame expansion: the five running values start at their "Desde:" texts and step
// towards their "Hasta:" values, one frame line each time, while the speed of every frame
// is added to the tick total.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "common/expected.h"
#include "model/ranges.h"
#include "storyboard/block_writer.h"
#include "storyboard/storyboard.h"
#include "system/output.h"

namespace tavrix {

// A range had to step, but its running value is not a number.
struct NotANumber {
    std::size_t range;  // in kFrameRanges
    std::string text;   // the running value
};

// The tick total would leave the range of a 32-bit integer.
struct TickTotalOutOfRange {};

using ExpansionFailure = std::variant<NotANumber, TickTotalOutOfRange, BlockFailure>;

// Writes the frame lines of `row`, in the file's code page, to `writer`, adding each frame's
// speed to `ticks`, the tick total before the first frame; gives the tick total, or why the
// expansion stopped.
Expected<std::int32_t, ExpansionFailure> expand_frames(const Storyboard::Row& row,
                                                       std::int32_t ticks, Encoder encode,
                                                       BlockWriter& writer);

}  // namespace tavrix
