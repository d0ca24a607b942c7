#include "storyboard/frame_split.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "common/numbers.h"

namespace tavrix {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A value as the expansion's step tests read it. A whole number written as the number text
// writes it is read without parsing, which is what frame lines hold nearly always.
// Plain fields rather than an optional, so that a reading copies in two moves: a run copies
// one per range and frame.
struct Reading {
    double leading = 0;
    double strict = 0;    // what the whole text reads as, when `number`
    bool number = false;  // the whole text is a number
    bool whole = false;
};

Reading read_value(std::string_view text) {
    std::string_view digits = text;
    const bool negative = !digits.empty() && digits.front() == '-';
    if (negative)
        digits.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    const bool canonical = error == std::errc{} && end == digits.data() + digits.size() &&
                           !digits.empty() && digits.size() <= 15 &&
                           (digits.front() != '0' || (digits.size() == 1 && !negative));
    if (canonical) {
        const double number = static_cast<double>(negative ? -value : value);
        return {number, number, true, true};
    }
    const std::optional<double> strict = strict_number(text);
    return {leading_number(text), strict.value_or(0), strict.has_value(), false};
}

// The texts of frame lines are short: compared in place, without a call.
bool same_text(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// Whether a step by `delta` turns the value `from` into the text `to`.
bool steps_to(std::string_view from_text, const Reading& from, std::string_view to,
              const Reading& to_reading, double delta) {
    if (!from.number)
        return false;
    if (from.whole && to_reading.whole)
        return to_reading.leading == from.strict + delta;
    char digits[kNumberTextCapacity];
    const std::string_view next(digits, write_number_text(from.strict + delta, digits));
    return next == to && next != from_text;
}

// A step by `delta` that the number text does not show (1E+16 plus one is 1E+16).
bool unseen_step(std::string_view text, const Reading& value, double delta) {
    if (!value.number || value.whole)
        return false;
    char digits[kNumberTextCapacity];
    return std::string_view(digits, write_number_text(value.strict + delta, digits)) == text;
}

// What the steps of a run ask of a range's "Hasta:" value H, each as the expansion tests it:
// kept as the tightest bound of each kind, since every test is monotonic in the value.
struct HastaBounds {
    double stepped_up_from = -kInfinity;   // H - 1 >= it
    double not_up_from = kInfinity;        // H - 1 < it
    double stepped_down_from = kInfinity;  // H < it
    double not_down_from = -kInfinity;     // H >= it

    bool holds(double h) const {
        return std::isfinite(h) && h - 1 >= stepped_up_from && h - 1 < not_up_from &&
               h < stepped_down_from && h >= not_down_from;
    }

    void up_from(double leading) { stepped_up_from = std::max(stepped_up_from, leading); }
    void no_up_from(double leading) { not_up_from = std::min(not_up_from, leading); }
    void down_from(double leading) { stepped_down_from = std::min(stepped_down_from, leading); }
    void no_down_from(double leading) { not_down_from = std::max(not_down_from, leading); }

    // The value does not change: no step, or one that the text does not show.
    void stays(std::size_t range, std::string_view text, const Reading& value) {
        const bool unseen_up = unseen_step(text, value, +1);
        if (!kFrameRanges[range].steps_down) {
            if (!unseen_up)
                no_up_from(value.leading);
            return;
        }
        const bool unseen_down = unseen_step(text, value, -1);
        if (!unseen_down)
            no_up_from(value.leading);
        if (!unseen_up)
            no_down_from(value.leading);
    }

    // A value H that passes every test, `preferred` when it does.
    std::optional<double> pick(double preferred) const {
        if (holds(preferred))
            return preferred;  // nearly always: checked before the others are worked out
        const double below = std::min(not_up_from + 1, stepped_down_from);
        for (const double h : {stepped_up_from + 1, std::nextafter(stepped_up_from + 1, kInfinity),
                               not_down_from, std::nextafter(not_down_from, kInfinity), below - 1,
                               std::nextafter(below, -kInfinity), 0.0}) {
            if (holds(h))
                return h;
        }
        return std::nullopt;
    }
};

using Bounds = std::array<HastaBounds, kRangeCount>;

// The values of the frame at the end of a run can be the last: the tests let nothing move.
std::optional<std::array<double, kRangeCount>> last_frame_hasta(
    Bounds bounds, const FrameValues& frame, const std::array<Reading, kRangeCount>& values) {
    std::array<double, kRangeCount> hasta{};
    for (std::size_t r = 0; r < kRangeCount; ++r) {
        bounds[r].stays(r, frame[r], values[r]);
        const std::optional<double> h = bounds[r].pick(values[r].leading);
        if (!h)
            return std::nullopt;
        hasta[r] = *h;
    }
    return hasta;
}

// The text of a "Hasta:" value: the frame's own text when it reads as that value, else the
// shortest text that reads back exactly.
std::string hasta_text(double h, std::string_view last, const Reading& last_value) {
    if (last_value.leading == h && (h != 0 || last == "0"))
        return std::string(last);
    if (h == 0)
        return "0";
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, h);
    return std::string(digits, result.ptr);
}

struct Run {
    RangeRow row;
    std::size_t end;  // past the run's last frame
};

// The longest run of frames from `first` that one row gives; none when not even the first
// frame can be given.
std::optional<Run> longest_run(std::span<const FrameValues> frames, std::size_t first) {
    std::array<Reading, kRangeCount> values;
    for (std::size_t r = 0; r < kRangeCount; ++r)
        values[r] = read_value(frames[first][r]);
    if (!values[kSpeed].number)
        return std::nullopt;  // every frame adds its speed to the tick total
    Bounds bounds{};
    std::optional<std::array<double, kRangeCount>> best_hasta;
    std::size_t best_last = first;
    std::array<Reading, kRangeCount> best_values = values;
    std::array<Reading, kRangeCount> next;  // every one is set before it is read
    for (std::size_t k = first;; ++k) {
        if (auto hasta = last_frame_hasta(bounds, frames[k], values)) {
            best_hasta = hasta;
            best_last = k;
            best_values = values;
        }
        if (k + 1 == frames.size())
            break;
        std::array<bool, kRangeCount> same{};
        for (std::size_t r = 0; r < kRangeCount; ++r)
            same[r] = same_text(frames[k][r], frames[k + 1][r]);
        if (std::all_of(same.begin(), same.end(), [](bool s) { return s; }))
            break;  // a frame line that repeats the one before ends an expansion
        bool possible = true;
        for (std::size_t r = 0; r < kRangeCount && possible; ++r) {
            HastaBounds& range = bounds[r];
            const std::string_view from = frames[k][r];
            const std::string_view to = frames[k + 1][r];
            next[r] = same[r] ? values[r] : read_value(to);  // the same text reads the same
            if (same[r]) {
                range.stays(r, from, values[r]);
            } else if (steps_to(from, values[r], to, next[r], +1)) {
                range.up_from(values[r].leading);
                if (kFrameRanges[r].steps_down)
                    range.no_down_from(next[r].leading);
            } else if (kFrameRanges[r].steps_down && steps_to(from, values[r], to, next[r], -1)) {
                range.no_up_from(values[r].leading);
                range.down_from(values[r].leading);
            } else {
                possible = false;
            }
            possible = possible && range.pick(next[r].leading).has_value();
        }
        if (!possible || !next[kSpeed].number)
            break;
        values = next;
    }
    if (!best_hasta)
        return std::nullopt;
    Run run{{}, best_last + 1};
    for (std::size_t r = 0; r < kRangeCount; ++r) {
        run.row.from[r] = std::string(frames[first][r]);
        run.row.to[r] = hasta_text((*best_hasta)[r], frames[best_last][r], best_values[r]);
    }
    return run;
}

}  // namespace

FrameSplit split_frames(std::span<const FrameValues> frames, std::size_t max_rows) {
    FrameSplit split;
    while (split.frames_taken < frames.size() && split.rows.size() < max_rows) {
        std::optional<Run> run = longest_run(frames, split.frames_taken);
        if (!run)
            break;
        split.rows.push_back(std::move(run->row));
        split.frames_taken = run->end;
    }
    return split;
}

}  // namespace tavrix
