#include <algorithm>

#include "stage/plan.h"

namespace tavrix {

void Timeline::add(const ActionFrame& frame) {
    if (held_ || frame.time == 0)
        return;
    starts_.push_back(cycle_);
    frames_.push_back(frame);
    if (frame.time < 0)
        held_ = true;
    else
        cycle_ += frame.time;
}

const ActionFrame* Timeline::at(std::int64_t ticks) const {
    if (ticks < 0 || frames_.empty())
        return nullptr;
    if (held_ && ticks >= starts_.back())
        return &frames_.back();
    if (!held_)
        ticks %= cycle_;
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), ticks);
    return &frames_[static_cast<std::size_t>(after - starts_.begin()) - 1];
}

}  // namespace tavrix
