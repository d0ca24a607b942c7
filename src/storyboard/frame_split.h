// The frame expansion backwards: an action's frame lines, as a file lists them, said again as
// a few rows of the five "Desde:"/"Hasta:" ranges, so that expanding the rows one after
// another gives back exactly those lines.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/ranges.h"

namespace tavrix {

// One frame line's five values: group, image, X, Y and speed, as texts.
using FrameValues = std::array<std::string_view, kRangeCount>;

// The five ranges of one animation.
struct RangeRow {
    std::array<std::string, kRangeCount> from;  // the "Desde:" row
    std::array<std::string, kRangeCount> to;    // the "Hasta:" row

    bool operator==(const RangeRow&) const = default;
};

struct FrameSplit {
    std::vector<RangeRow> rows;
    // How many of the frames the rows give back; fewer than all when they did not fit in
    // the rows allowed, or a frame cannot be given by any row (a value that a range would
    // have to step although it is not a number, say).
    std::size_t frames_taken = 0;
};

// The fewest rows, at most `max_rows`, whose expansions, one after another, give the frames
// from the first on. Each row takes as many frames as one row can give, which is never worse
// than stopping earlier: the frames that follow any frame of a row's run can start a row
// of their own.
[[nodiscard]] FrameSplit split_frames(std::span<const FrameValues> frames, std::size_t max_rows);

}  // namespace tavrix
