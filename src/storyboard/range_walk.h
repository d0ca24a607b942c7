// How one frame range steps, frame after frame: from its "Desde:" text, up by one while the
// running value is at most its "Hasta:" value minus one, then (for a range that may step
// down: X and Y) down by one while it is above its "Hasta:" value. A step writes the number
// text of the value read strictly, plus or minus one; the range has ended once a frame's
// steps leave its text as it was. The expansion, the count taken before a run and
// "Comprobar" all take their steps from here.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "storyboard/storyboard.h"

namespace tavrix {

class RangeWalk {
  public:
    // The walk reached a text that is not a number, which can step no further.
    struct NotANumberAt {
        std::uint64_t steps;  // taken before that text (0: the typed text)
        bool must_step;       // its tests still asked for a step: the expansion stops there
    };

    // What following the walk for at most a number of steps found.
    struct Course {
        std::uint64_t steps = 0;          // how many times the text changed
        std::uint64_t stepped_bytes = 0;  // of the texts after those steps, all together
        std::string text;                 // the text after the last of them
        bool only_a_floor = false;        // not followed to its end: it may step more
        std::optional<NotANumberAt> not_a_number;
    };

    RangeWalk() : RangeWalk({}, {}, false) {}
    RangeWalk(std::string_view from, std::string_view to, bool may_step_down);
    explicit RangeWalk(const Storyboard::Range& range)
        : RangeWalk(range.from, range.to, range.steps_down) {}

    // The stepping rule, asked of a running value by its leading number.
    bool steps_up(double leading) const { return hasta_ - 1 >= leading; }
    bool steps_down(double leading) const { return may_step_down_ && hasta_ < leading; }
    // How many steps by one in a row, the one way, keep the test passing from `leading`.
    double steps_passing(double leading, bool up) const {
        return up ? std::floor(hasta_ - leading) : std::ceil(leading - hasta_);
    }

    const std::string& from() const { return from_; }

    // The walk from the typed text to its end, followed once, when first asked: the
    // expansion takes only the stepping rule.
    const Course& course() const;
    std::uint64_t steps() const { return course().steps; }
    std::optional<NotANumberAt> not_a_number() const { return course().not_a_number; }
    // The walk followed for at most `most_steps` steps.
    [[nodiscard]] Course followed(std::uint64_t most_steps) const;

    // Its first step, +1 or -1, or 0 when it has none; and the value the steps start from
    // (the typed text read strictly, 0 when it is not a number). The value after step k is
    // start + k * direction, to the 15 digits that a number text keeps.
    int direction() const;
    double start() const;

  private:
    std::string from_;
    double hasta_ = 0;  // the leading number of the "Hasta:" text
    bool may_step_down_ = false;
    mutable std::optional<Course> whole_;
};

}  // namespace tavrix
