#include "storyboard/frame_count.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "common/numbers.h"

namespace tavrix {
namespace {

// The ranges never read each other's values: each one's texts follow from its own "Desde:"
// text and "Hasta:" value, it changes the frame line in a run of frames from the first one
// on, and the run ends after the frame where the last of them stopped changing. So each
// range is followed on its own, and the frame count is one more than the most changes.

constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();
// More steps than any run takes; stands for a range that never stops.
constexpr std::uint64_t kEndless = 10'000'000'000'000'000;
// A range is followed one step at a time only near a power of ten and where its text is not
// yet a number text; this many such steps mean it is not worth following further.
constexpr std::uint64_t kMostSingleSteps = 1'000'000;
// The bytes of a frame line besides the five values: ",", ", ", ",", ", " and CR LF.
constexpr std::uint64_t kSeparatorBytes = 8;

// A running value, read as the expansion reads it.
struct Running {
    std::string text;
    double leading = 0;
    std::optional<double> strict;

    void assign(std::string_view new_text) {
        text.assign(new_text);
        leading = leading_number(text);
        strict = strict_number(text);
    }
};

enum class FrameStep : std::uint8_t { Moved, Still, NotANumber };

// One frame's steps of one range, exactly as the expansion takes them: up by one when the
// value is at most its "Hasta:" value minus one, then down by one (X and Y) when above it.
FrameStep step_frame(Running& value, double to, bool steps_down) {
    bool moved = false;
    auto step = [&](double delta) {
        if (!value.strict)
            return false;
        const std::string next = number_text(*value.strict + delta);
        if (next != value.text) {
            value.assign(next);
            moved = true;
        }
        return true;
    };
    if (to - 1 >= value.leading && !step(+1))
        return FrameStep::NotANumber;
    if (steps_down && to < value.leading && !step(-1))
        return FrameStep::NotANumber;
    return moved ? FrameStep::Moved : FrameStep::Still;
}

// 10 raised to the count of digits before the point of a plain number text.
double power_above(std::string_view text) {
    static constexpr std::array<double, 17> kPowersOfTen = {
        1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};
    const std::size_t digits = std::min(text.find('.'), text.size()) - (text[0] == '-' ? 1 : 0);
    return kPowersOfTen[std::min(digits, kPowersOfTen.size() - 1)];
}

// Whether `steps` steps in `direction` from the number text of `x` are all plain counting:
// the last text keeps the length (so every text on the way stays within the same power of
// ten, where adding one to the digits is exact), the test before the last step still
// passes, and no step down follows the last step up. The tests move with the value, so the
// steps before pass as well.
bool steps_hold(const Running& value, double x, double to, bool steps_down, double direction,
                std::uint64_t steps) {
    const double last = x + direction * static_cast<double>(steps);
    const std::string last_text = number_text(last);
    if (last_text.size() != value.text.size())
        return false;
    const double before_last = leading_number(number_text(last - direction));
    if (direction > 0)
        return to - 1 >= before_last && !(steps_down && to < leading_number(last_text));
    return to < before_last;
}

// How many steps by one the value takes in a row that only count its digits: it is the
// number text of a value from 1 to below 1e15, and the steps keep it within its power of
// ten and its tests passing. None when that is not so; `direction` gets the steps' sign.
std::uint64_t counting_steps(const Running& value, double to, bool steps_down, double& direction) {
    if (!value.strict)
        return 0;
    const double x = *value.strict;
    const double magnitude = std::fabs(x);
    if (!(magnitude >= 1 && magnitude < 1e15) || number_text(x) != value.text)
        return 0;
    const bool up = to - 1 >= value.leading;
    if (!up && !(steps_down && to < value.leading))
        return 0;
    direction = up ? 1 : -1;
    const double power = power_above(value.text);
    const double within_power =
        (x > 0) == up ? std::ceil(power - magnitude) - 1 : std::floor(magnitude - power / 10);
    const double while_passing = up ? std::floor(to - x) : std::ceil(x - to);
    const double steps = std::min(within_power, while_passing);
    if (!(steps >= 1))
        return 0;
    // Rounding near the edges may make the estimate one too many.
    auto held = static_cast<std::uint64_t>(steps);
    while (held > 0 && !steps_hold(value, x, to, steps_down, direction, held))
        held = held > 8 ? held - held / 8 : held - 1;
    return held;
}

// One range's part of the run: the frames after the first whose line it changed, and the
// bytes of its text over the first frame and those.
struct Track {
    std::uint64_t moves = 0;
    std::uint64_t bytes = 0;
    std::uint64_t length = 0;  // of its text from then on
    // The frames the run writes at most because of this range: its next step, or (for the
    // speed, which every frame adds) its text, is not a number.
    std::uint64_t frames_until_failure = kNoLimit;
    bool unfinished = false;  // not followed to its end: it may move more
};

Track track_range(std::string_view from, double to, const FrameRange& range, Encoder encode,
                  std::uint64_t most_moves) {
    const bool added_each_frame = range.from == kFrameRanges[kSpeed].from;
    Running value;
    value.assign(from);
    std::string encoded;
    encode(from, encoded);
    Track track{0, encoded.size(), encoded.size(), kNoLimit, false};
    std::uint64_t single_steps = 0;
    while (track.moves < most_moves) {
        if (added_each_frame && !value.strict) {
            track.frames_until_failure = track.moves;
            break;
        }
        double direction = 0;
        if (std::uint64_t steps = counting_steps(value, to, range.steps_down, direction)) {
            steps = std::min(steps, most_moves - track.moves);
            value.assign(number_text(*value.strict + direction * static_cast<double>(steps)));
            track.moves += steps;
            track.bytes += steps * value.text.size();
            track.length = value.text.size();
            continue;
        }
        if (++single_steps > kMostSingleSteps) {
            track.unfinished = true;
            break;
        }
        const std::string before = value.text;
        const FrameStep step = step_frame(value, to, range.steps_down);
        if (step != FrameStep::Moved) {
            if (step == FrameStep::NotANumber)
                track.frames_until_failure = track.moves + 1;
            break;
        }
        if (value.text == before) {  // up and back down in one frame: again every frame
            track.bytes += (kEndless - track.moves) * value.text.size();
            track.moves = kEndless;
            track.unfinished = true;
            break;
        }
        ++track.moves;
        track.bytes += value.text.size();
        track.length = value.text.size();
    }
    return track;
}

}  // namespace

RunSize count_frames(const ExpansionStart& start, Encoder encode) {
    std::array<Track, kRangeCount> tracks;
    auto track = [&](std::size_t i, std::uint64_t most_moves) {
        return track_range(start.from[i], start.to[i], kFrameRanges[i], encode, most_moves);
    };
    std::uint64_t frames = 0;
    std::uint64_t failing_frames = kNoLimit;
    for (std::size_t i = 0; i < kRangeCount; ++i) {
        tracks[i] = track(i, kNoLimit);
        frames = std::max(frames, tracks[i].moves + 1);
        failing_frames = std::min(failing_frames, tracks[i].frames_until_failure);
    }
    const bool fails = failing_frames <= frames;
    frames = std::min(frames, failing_frames);
    RunSize size{frames, kSeparatorBytes * frames, false};
    for (std::size_t i = 0; i < kRangeCount && frames > 0; ++i) {
        // A failure ends the run before this range's own end.
        if (tracks[i].moves >= frames)
            tracks[i] = track(i, frames - 1);
        const Track& t = tracks[i];
        size.frame_bytes += t.bytes + t.length * (frames - 1 - t.moves);
        size.at_least = size.at_least || (t.unfinished && (!fails || t.moves + 1 < frames));
    }
    return size;
}

}  // namespace tavrix
