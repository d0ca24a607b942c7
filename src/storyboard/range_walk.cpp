#include "storyboard/range_walk.h"

#include <algorithm>
#include <array>
#include <limits>

#include "common/numbers.h"

namespace tavrix {
namespace {

constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();
// More steps than any run takes; stands for a range that never stops.
constexpr std::uint64_t kEndless = 10'000'000'000'000'000;
// A walk is followed one step at a time only near a power of ten and where its text is not
// yet a number text; this many such steps mean it is not worth following further.
constexpr std::uint64_t kMostSingleSteps = 1'000'000;

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

// One frame's steps, exactly as the expansion takes them.
FrameStep step_frame(const RangeWalk& walk, Running& value) {
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
    if (walk.steps_up(value.leading) && !step(+1))
        return FrameStep::NotANumber;
    if (walk.steps_down(value.leading) && !step(-1))
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
bool steps_hold(const RangeWalk& walk, const Running& value, double x, double direction,
                std::uint64_t steps) {
    const double last = x + direction * static_cast<double>(steps);
    const std::string last_text = number_text(last);
    if (last_text.size() != value.text.size())
        return false;
    const double before_last = leading_number(number_text(last - direction));
    if (direction > 0)
        return walk.steps_up(before_last) && !walk.steps_down(leading_number(last_text));
    return walk.steps_down(before_last);
}

// How many steps by one the value takes in a row that only count its digits: it is the
// number text of a value from 1 to below 1e15, and the steps keep it within its power of
// ten and its tests passing. None when that is not so; `direction` gets the steps' sign.
std::uint64_t counting_steps(const RangeWalk& walk, const Running& value, double& direction) {
    if (!value.strict)
        return 0;
    const double x = *value.strict;
    const double magnitude = std::fabs(x);
    if (!(magnitude >= 1 && magnitude < 1e15) || number_text(x) != value.text)
        return 0;
    const bool up = walk.steps_up(value.leading);
    if (!up && !walk.steps_down(value.leading))
        return 0;
    direction = up ? 1 : -1;
    const double power = power_above(value.text);
    const double within_power =
        (x > 0) == up ? std::ceil(power - magnitude) - 1 : std::floor(magnitude - power / 10);
    const double steps = std::min(within_power, walk.steps_passing(x, up));
    if (!(steps >= 1))
        return 0;
    // Rounding near the edges may make the estimate one too many.
    auto held = static_cast<std::uint64_t>(steps);
    while (held > 0 && !steps_hold(walk, value, x, direction, held))
        held = held > 8 ? held - held / 8 : held - 1;
    return held;
}

}  // namespace

RangeWalk::RangeWalk(std::string_view from, std::string_view to, bool may_step_down)
    : from_(from), hasta_(leading_number(to)), may_step_down_(may_step_down) {}

const RangeWalk::Course& RangeWalk::course() const {
    if (!whole_)
        whole_ = followed(kNoLimit);
    return *whole_;
}

RangeWalk::Course RangeWalk::followed(std::uint64_t most_steps) const {
    Running value;
    value.assign(from_);
    Course course;
    std::uint64_t single_steps = 0;
    const auto moved_to = [&course](const Running& now, std::uint64_t steps) {
        course.steps += steps;
        course.stepped_bytes += steps * now.text.size();
    };
    while (course.steps < most_steps) {
        if (!value.strict) {
            course.not_a_number =
                NotANumberAt{course.steps, steps_up(value.leading) || steps_down(value.leading)};
            break;
        }
        double direction = 0;
        if (std::uint64_t steps = counting_steps(*this, value, direction)) {
            steps = std::min(steps, most_steps - course.steps);
            value.assign(number_text(*value.strict + direction * static_cast<double>(steps)));
            moved_to(value, steps);
            continue;
        }
        if (++single_steps > kMostSingleSteps) {
            course.only_a_floor = true;
            break;
        }
        const std::string before = value.text;
        const FrameStep step = step_frame(*this, value);
        if (step == FrameStep::NotANumber)
            course.not_a_number = NotANumberAt{course.steps, true};
        if (step != FrameStep::Moved)
            break;
        if (value.text == before) {  // up and back down in one frame: again every frame
            moved_to(value, std::min(kEndless, most_steps) - course.steps);
            course.only_a_floor = true;
            break;
        }
        moved_to(value, 1);
    }
    course.text = std::move(value.text);
    return course;
}

int RangeWalk::direction() const {
    if (steps() == 0)
        return 0;
    const double leading = leading_number(from_);
    return steps_up(leading) ? 1 : -1;
}

double RangeWalk::start() const {
    return strict_number(from_).value_or(0);
}

}  // namespace tavrix
