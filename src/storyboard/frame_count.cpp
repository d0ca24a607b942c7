#include "storyboard/frame_count.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>

#include "storyboard/range_walk.h"

namespace tavrix {
namespace {

// The ranges never read each other's values: each one's texts follow from its own walk, it
// changes the frame line in a run of frames from the first one on, and the run ends after
// the frame where the last of them stopped changing. So the frame count is one more than
// the most steps.

constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();
// The bytes of a frame line besides the five values: ",", ", ", ",", ", " and CR LF.
constexpr std::uint64_t kSeparatorBytes = 8;

// The frames the run writes at most because of this range: it must step from a text that
// is not a number or, for the speed, which every frame adds, it reaches one at all.
std::uint64_t frames_until_failure(const RangeWalk& walk, bool added_each_frame) {
    const auto not_a_number = walk.not_a_number();
    if (!not_a_number)
        return kNoLimit;
    if (added_each_frame)
        return not_a_number->steps;
    return not_a_number->must_step ? not_a_number->steps + 1 : kNoLimit;
}

// The bytes of one range's texts over `frames` frames, in the file's code page; the typed
// text is the only one that may hold more than ASCII.
std::uint64_t range_bytes(const RangeWalk::Course& course, std::uint64_t typed_bytes,
                          std::uint64_t frames) {
    const std::uint64_t last = course.steps > 0 ? course.text.size() : typed_bytes;
    return typed_bytes + course.stepped_bytes + last * (frames - 1 - course.steps);
}

}  // namespace

RunSize count_frames(const Storyboard::Row& row, Encoder encode) {
    std::array<RangeWalk, kRangeCount> walks;
    std::uint64_t frames = 0;
    std::uint64_t failing_frames = kNoLimit;
    for (std::size_t i = 0; i < kRangeCount; ++i) {
        walks[i] = RangeWalk(row[i]);
        frames = std::max(frames, walks[i].steps() + 1);
        failing_frames = std::min(failing_frames, frames_until_failure(walks[i], i == kSpeed));
    }
    const bool fails = failing_frames <= frames;
    frames = std::min(frames, failing_frames);
    RunSize size{frames, kSeparatorBytes * frames, false};
    std::string encoded;
    for (std::size_t i = 0; i < kRangeCount && frames > 0; ++i) {
        // A failure ends the run before this range's own end.
        const RangeWalk::Course course =
            walks[i].steps() >= frames ? walks[i].followed(frames - 1) : walks[i].course();
        encoded.clear();
        encode(row[i].from, encoded);
        size.frame_bytes += range_bytes(course, encoded.size(), frames);
        size.at_least =
            size.at_least || (course.only_a_floor && (!fails || course.steps + 1 < frames));
    }
    return size;
}

}  // namespace tavrix
