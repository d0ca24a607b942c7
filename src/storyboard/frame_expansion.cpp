#include "storyboard/frame_expansion.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstring>
#include <limits>
#include <span>
#include <utility>
#include <vector>

#include "common/numbers.h"
#include "storyboard/range_walk.h"

namespace tavrix {
namespace {

// A whole number that the number text writes as plain digits, and that a double holds
// exactly after a step by one.
bool is_small_whole(double value) {
    return std::trunc(value) == value && std::fabs(value) < 1e15;
}

// A running value of the expansion, with its two readings kept so that a text that has not
// changed is never parsed again.
struct RunningValue {
    std::string text;  // as in the field, or a number text once stepped
    double leading = 0;
    std::optional<double> strict;
    // The text is the number text of a small whole number, so a step by one only changes
    // its digits and both readings move by exactly one.
    bool whole = false;

    void assign_typed(std::string_view typed) {
        text.assign(typed);
        leading = leading_number(text);
        strict = strict_number(text);
        whole = strict && is_small_whole(*strict) && number_text(*strict) == text;
    }
};

// What counting a number text by one did to it.
enum class Count : std::uint8_t {
    Refused,  // the result needs another number of digits or loses its sign: nothing done
    Units,    // only the units digit changed
    Carried,  // digits before the units digit changed too
};

// Adds one to, or takes one from, the magnitude written in `digits`, in place. Refuses when
// the result would need another number of digits (999 + 1, 100 - 1) or would be zero, which
// is written without a sign.
Count step_magnitude(std::span<char> digits, bool up) {
    const char carried = up ? '9' : '0';
    std::size_t last = digits.size();
    while (last > 0 && digits[last - 1] == carried)
        --last;
    if (last == 0 || (!up && last == 1 && digits[0] == '1'))
        return Count::Refused;
    digits[last - 1] = static_cast<char>(digits[last - 1] + (up ? 1 : -1));
    std::fill(digits.begin() + static_cast<std::ptrdiff_t>(last), digits.end(), up ? '0' : '9');
    return last == digits.size() ? Count::Units : Count::Carried;
}

// Steps the number text of a small whole number by one where it stands, when its length
// stays the same.
Count count_in_place(std::span<char> text, double delta) {
    const bool negative = text.front() == '-';
    const bool up = (delta > 0) != negative;
    // Nine steps in ten change the units digit alone.
    if (char& units = text.back(); up ? units < '9' : units > '1') {
        units = static_cast<char>(units + (up ? 1 : -1));
        return Count::Units;
    }
    return step_magnitude(text.subspan(negative ? 1 : 0), up);
}

// How many steps by one a small whole number can take, up or down, before its number text
// needs another number of digits or loses its sign; count_in_place takes exactly those.
double steps_keeping_length(const RunningValue& value, bool up) {
    static constexpr std::array<double, 17> kPowersOfTen = {
        1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};
    const bool negative = value.text.front() == '-';
    const std::size_t digits = value.text.size() - (negative ? 1 : 0);
    const double magnitude = std::fabs(value.leading);
    if (up != negative)
        return kPowersOfTen[digits] - 1 - magnitude;
    return magnitude - kPowersOfTen[digits - 1];
}

// Adds whole ticks to the total; false when the total would leave its range.
bool add_whole_ticks(std::int32_t& total, std::int64_t ticks) {
    using Limits = std::numeric_limits<std::int32_t>;
    const std::int64_t sum = total + ticks;
    if (sum < Limits::min() || sum > Limits::max())
        return false;
    total = static_cast<std::int32_t>(sum);
    return true;
}

enum class StepResult : std::uint8_t {
    Same,
    Counted,  // a small whole number stepped by one in its units digit
    Carried,  // the same, with a carry into the digits before
    Moved,
    NotANumber,
};

// Replaces the value by the number text of its strict conversion plus `delta`, formatted.
StepResult step_by_number_text(RunningValue& value, double delta) {
    if (!value.strict)
        return StepResult::NotANumber;
    const double next = *value.strict + delta;
    char digits[kNumberTextCapacity];
    const std::string_view text(digits, write_number_text(next, digits));
    if (text == value.text)
        return StepResult::Same;
    value.text.assign(text);
    value.whole = is_small_whole(next);
    if (value.whole) {
        value.leading = next;  // a whole number's text reads back exactly
        value.strict = next;
    } else {
        value.leading = leading_number(value.text);
        value.strict = strict_number(value.text);
    }
    return StepResult::Moved;
}

// Replaces the value by the number text of its strict conversion plus `delta`.
StepResult step_value(RunningValue& value, double delta) {
    if (value.whole) {
        if (const Count count = count_in_place(value.text, delta); count != Count::Refused) {
            value.leading += delta;
            value.strict = value.leading;
            return count == Count::Units ? StepResult::Counted : StepResult::Carried;
        }
    }
    return step_by_number_text(value, delta);
}

// The frame line in the file's code page, with its CR LF, copied out once per frame. A
// counted value's units digit is taken from its own text at each copy, so that the line is
// written only when a count carries (a store just before a wide copy of it would stall).
class FrameLine {
  public:
    void build(const std::array<RunningValue, kRangeCount>& values, Encoder encode) {
        static constexpr std::array<std::string_view, kRangeCount> kAfter{",", ", ", ",", ", ",
                                                                          "\r\n"};
        text_.clear();
        for (std::size_t i = 0; i < kRangeCount; ++i) {
            start_[i] = text_.size();
            encode(values[i].text, text_);
            length_[i] = text_.size() - start_[i];
            text_.append(kAfter[i]);
        }
        bytes_.clear();
        bytes_.append(text_);
        counted_ = {};
        units_.clear();
        stale_ = false;
    }

    // From now on the units digit of `range` is taken from the value's own text.
    void count(std::size_t range, const RunningValue& value) {
        if (!counted_[range]) {
            counted_[range] = true;
            units_.push_back({units_at(range), &value.text});
        }
    }

    std::size_t units_at(std::size_t range) const { return start_[range] + length_[range] - 1; }

    void step(std::size_t range, StepResult result, const RunningValue& value, double delta) {
        if (result == StepResult::Counted || result == StepResult::Carried)
            count(range, value);
        // The digits before the units digit count by one as well: the same count, made on
        // the line's own digits.
        if (result == StepResult::Carried) {
            const bool negative = value.text.front() == '-';
            const std::size_t sign = negative ? 1 : 0;
            step_magnitude(
                std::span(bytes_.data() + start_[range] + sign, length_[range] - sign - 1),
                (delta > 0) != negative);
        } else if (result == StepResult::Moved) {
            stale_ = true;
        }
    }

    // A value that stops counting gives its last units digit to the line.
    void stop(std::size_t range) { stale_ = stale_ || counted_[range]; }

    bool stale() const { return stale_; }

    std::size_t size() const { return bytes_.size(); }

    // Writes the line at `to`, which has room for it and kPiece bytes more.
    void copy_to(char* to) const {
        copy_in_pieces(bytes_.data(), bytes_.size(), to);
        for (const UnitsDigit& units : units_)
            to[units.at] = units.text->back();
    }

    // The line as built, without the counted units digits, with kPiece spare bytes after it.
    const char* bytes() const { return bytes_.data(); }

  private:
    struct UnitsDigit {
        std::size_t at;           // in the line
        const std::string* text;  // the counted value's
    };

    std::string text_;  // where the line is built, kept so that a rebuild need not allocate
    PaddedBytes bytes_;
    std::array<std::size_t, kRangeCount> start_{};
    std::array<std::size_t, kRangeCount> length_{};
    std::array<bool, kRangeCount> counted_{};
    std::vector<UnitsDigit> units_;
    bool stale_ = false;
};

class Expansion {
  public:
    Expansion(const Storyboard::Row& row, std::int32_t ticks, Encoder encode, BlockWriter& writer)
        : writer_(writer), encode_(encode), ticks_(ticks) {
        for (std::size_t i = 0; i < kRangeCount; ++i) {
            walks_[i] = RangeWalk(row[i]);
            running_[i].assign_typed(walks_[i].from());
        }
    }

    Expected<std::int32_t, ExpansionFailure> run() {
        std::int32_t total = ticks_;
        line_.build(running_, encode_);
        for (;;) {
            std::array<double, kRangeCount> direction{};
            if (const std::size_t frames = counting_frames(direction)) {
                if (!write_counting_frames(frames, direction, total))
                    return std::move(*failure_);
                continue;
            }
            if (!write_frame(total))
                return std::move(*failure_);
            bool moved = false;
            if (const auto not_stepped = step_all(moved))
                return not_a_number(*not_stepped);
            if (!moved)
                return total;
            if (line_.stale())
                line_.build(running_, encode_);
        }
    }

  private:
    ExpansionFailure not_a_number(std::size_t range) const {
        return NotANumber{range, running_[range].text};
    }

    // Why add_speed refused.
    ExpansionFailure speed_failure() const {
        return running_[kSpeed].strict ? ExpansionFailure{TickTotalOutOfRange{}}
                                       : not_a_number(kSpeed);
    }

    // Adds the running speed to the total, rounding half to even; false when the speed is
    // not a number or the total would leave its range.
    bool add_speed(std::int32_t& total) const {
        const RunningValue& speed = running_[kSpeed];
        if (!speed.strict)
            return false;
        // A whole speed needs no rounding, and whole arithmetic is faster.
        if (speed.whole)
            return add_whole_ticks(total, static_cast<std::int64_t>(*speed.strict));
        using Limits = std::numeric_limits<std::int32_t>;
        const double sum = std::nearbyint(static_cast<double>(total) + *speed.strict);
        if (!(sum >= Limits::min() && sum <= Limits::max()))
            return false;
        total = static_cast<std::int32_t>(sum);
        return true;
    }

    // Steps the values once, upward in range order and then downward; `moved` tells whether
    // any text changed. Gives the range that had to step but is not a number. A range that
    // did not step never steps again (its text and its "Hasta:" value stay), so it is dropped.
    std::optional<std::size_t> step_all(bool& moved) {
        moved = false;
        std::array<bool, kRangeCount> stepped{};
        std::size_t stepped_count = 0;
        for (std::size_t i : stepping_) {
            if (walks_[i].steps_up(running_[i].leading)) {
                stepped[i] = true;
                ++stepped_count;
                if (!step(i, +1, moved))
                    return i;
            }
        }
        for (std::size_t i : stepping_) {
            if (walks_[i].steps_down(running_[i].leading)) {
                stepped_count += stepped[i] ? 0 : 1;
                stepped[i] = true;
                if (!step(i, -1, moved))
                    return i;
            }
        }
        if (stepped_count < stepping_.size()) {
            std::erase_if(stepping_, [&](std::size_t i) {
                if (!stepped[i])
                    line_.stop(i);
                return !stepped[i];
            });
        }
        return std::nullopt;
    }

    bool step(std::size_t i, double delta, bool& moved) {
        const StepResult result = step_value(running_[i], delta);
        line_.step(i, result, running_[i], delta);
        moved = moved || result == StepResult::Counted || result == StepResult::Carried ||
                result == StepResult::Moved;
        return result != StepResult::NotANumber;
    }

    // Adds the frame's speed to the total and writes the frame line; on a failure, keeps it
    // in failure_ and gives false.
    bool write_frame(std::int32_t& total) {
        if (!add_speed(total)) {
            failure_ = speed_failure();
            return false;
        }
        line_.copy_to(writer_.extend(line_.size()));
        writer_.add_frames(1);
        flush_full_block();
        return !failure_;
    }

    // How many of the coming frames are sure to end with every stepping value counted by one
    // in its digits, keeping its length: none unless each is a small whole number, and no
    // more than before one of them reaches its "Hasta:" value or needs another digit.
    // `direction` receives the step of each one.
    std::size_t counting_frames(std::array<double, kRangeCount>& direction) const {
        if (stepping_.empty())
            return 0;
        double frames = std::numeric_limits<double>::infinity();
        for (std::size_t i : stepping_) {
            const RunningValue& value = running_[i];
            if (!value.whole)
                return 0;
            const bool up = walks_[i].steps_up(value.leading);
            if (!up && !walks_[i].steps_down(value.leading))
                return 0;
            direction[i] = up ? 1 : -1;
            frames = std::min({frames, walks_[i].steps_passing(value.leading, up),
                               steps_keeping_length(value, up)});
        }
        return frames > 0 ? static_cast<std::size_t>(frames) : 0;
    }

    // The frames found by counting_frames: each is written, then every stepping value is
    // counted by one. The total stays in a local, which the char writes cannot alias.
    bool write_counting_frames(std::size_t frames, const std::array<double, kRangeCount>& direction,
                               std::int32_t& total) {
        std::int32_t running_total = total;
        for (std::size_t frame = 0; frame < frames && !failure_;) {
            const std::size_t size = line_.size();
            const std::size_t count = std::min(frames - frame, writer_.lines_to_fill(size));
            char* to = writer_.extend(count * size);
            const std::size_t written = write_counted_lines(count, to, direction, running_total);
            for (std::size_t i : stepping_) {
                running_[i].leading += static_cast<double>(written) * direction[i];
                running_[i].strict = running_[i].leading;
            }
            frame += written;
            if (written < count) {
                failure_ = speed_failure();
                break;
            }
            writer_.add_frames(count);
            flush_full_block();
        }
        total = running_total;
        return !failure_;
    }

    // A value counted by one each frame: where its units digit stands in the line, and the
    // way that digit moves (down when a negative number counts up).
    struct UnitsCounter {
        std::size_t at;
        char* digit;  // the units digit of the value's text
        int step;
    };

    // How many more steps change the units digits alone.
    static std::size_t units_room(std::span<const UnitsCounter> counters) {
        int room = std::numeric_limits<int>::max();
        for (const UnitsCounter& counter : counters)
            room = std::min(room, counter.step > 0 ? '9' - *counter.digit : *counter.digit - '1');
        return static_cast<std::size_t>(std::max(room, 0));
    }

    static void advance_units(std::span<const UnitsCounter> counters, std::size_t steps) {
        for (const UnitsCounter& counter : counters)
            *counter.digit =
                static_cast<char>(*counter.digit + counter.step * static_cast<int>(steps));
    }

    // Adds the speeds of up to `frames` frames to the total; gives how many were added.
    std::size_t add_run_speeds(std::size_t frames, std::optional<std::int64_t>& ticks,
                               std::int64_t ticks_step, std::int32_t& total) const {
        // A constant whole speed moves the total one way: the frames fit if the last does.
        if (ticks && ticks_step == 0 &&
            add_whole_ticks(total, *ticks * static_cast<std::int64_t>(frames)))
            return frames;
        for (std::size_t frame = 0; frame < frames; ++frame) {
            if (ticks) {
                if (!add_whole_ticks(total, *ticks))
                    return frame;
                *ticks += ticks_step;
            } else if (!add_speed(total)) {
                return frame;
            }
        }
        return frames;
    }

    // Writes `lines` lines of a run at `to`, each with its own units digits.
    void write_run(std::span<const UnitsCounter> counters, char* to, std::size_t lines) const {
        const std::size_t size = line_.size();
        // Taken out of the loops, which the char writes could otherwise alias.
        const char* line = line_.bytes();
        if (size <= kPiece) {  // one piece per line, without the loop over pieces
            for (std::size_t in_run = 0; in_run < lines; ++in_run)
                std::memcpy(to + in_run * size, line, kPiece);
        } else {
            for (std::size_t in_run = 0; in_run < lines; ++in_run)
                copy_in_pieces(line, size, to + in_run * size);
        }
        // Each line's own units digits, written after the copies that overlap them.
        for (const UnitsCounter& counter : counters) {
            const char first = *counter.digit;
            for (std::size_t in_run = 0; in_run < lines; ++in_run)
                to[in_run * size + counter.at] =
                    static_cast<char>(first + counter.step * static_cast<int>(in_run));
        }
    }

    // Writes up to `count` frames at `to`, each followed by its steps; gives how many were
    // written, fewer when the speed could not be added. Frames go in runs whose steps change
    // units digits alone, each line written with its digits; the step that ends a run may
    // carry and goes through count_in_place.
    std::size_t write_counted_lines(std::size_t count, char* to,
                                    const std::array<double, kRangeCount>& direction,
                                    std::int32_t& total) {
        // A whole speed is added as a whole number and counts along if it steps; any other
        // speed does not step here and is added as add_speed adds it.
        const RunningValue& speed = running_[kSpeed];
        std::optional<std::int64_t> ticks;
        if (speed.whole)
            ticks = static_cast<std::int64_t>(*speed.strict);
        const auto ticks_step = static_cast<std::int64_t>(direction[kSpeed]);
        std::array<UnitsCounter, kRangeCount> all_counters{};
        std::size_t counted = 0;
        for (std::size_t i : stepping_) {
            RunningValue& value = running_[i];
            line_.count(i, value);
            const bool up = (direction[i] > 0) != (value.text.front() == '-');
            all_counters[counted++] = {line_.units_at(i), &value.text.back(), up ? 1 : -1};
        }
        const std::span<const UnitsCounter> counters(all_counters.data(), counted);
        const std::size_t size = line_.size();
        for (std::size_t frame = 0; frame < count;) {
            const std::size_t run = std::min(count - frame, units_room(counters) + 1);
            const std::size_t added = add_run_speeds(run, ticks, ticks_step, total);
            if (writer_.keeps_lines())
                write_run(counters, to, added);
            to += added * size;
            if (added < run) {
                advance_units(counters, added);
                return frame + added;
            }
            advance_units(counters, run - 1);
            frame += run;
            for (std::size_t i : stepping_) {
                RunningValue& value = running_[i];
                const Count stepped = count_in_place(value.text, direction[i]);
                assert(stepped != Count::Refused);
                line_.step(i, stepped == Count::Units ? StepResult::Counted : StepResult::Carried,
                           value, direction[i]);
            }
        }
        return count;
    }

    void flush_full_block() {
        if (!writer_.block_full())
            return;
        if (auto flushed = writer_.flush(); !flushed.ok())
            failure_ = std::move(flushed.error());
    }

    BlockWriter& writer_;
    Encoder encode_;
    std::array<RangeWalk, kRangeCount> walks_;  // how each range steps
    std::array<RunningValue, kRangeCount> running_;
    std::int32_t ticks_;                       // the tick total before the first frame
    std::optional<ExpansionFailure> failure_;  // why write_frame stopped the run
    FrameLine line_;
    std::vector<std::size_t> stepping_{kGroup, kImage, kX, kY, kSpeed};
};

}  // namespace

Expected<std::int32_t, ExpansionFailure> expand_frames(const Storyboard::Row& row,
                                                       std::int32_t ticks, Encoder encode,
                                                       BlockWriter& writer) {
    return Expansion(row, ticks, encode, writer).run();
}

}  // namespace tavrix
