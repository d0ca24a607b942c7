#include "app/preview_clock.h"

#include <algorithm>

namespace tavrix {

void PreviewClock::set_length(std::int64_t ticks) {
    const std::int64_t shown = tick();
    length_ = std::max<std::int64_t>(ticks, 1);
    anchor_tick_ = within(shown);
    anchor_time_ = now_();
}

std::int64_t PreviewClock::tick() const {
    if (!playing_)
        return anchor_tick_;
    using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 60>>;
    const std::int64_t elapsed = std::chrono::floor<Ticks>(now_() - anchor_time_).count();
    return (anchor_tick_ + std::max<std::int64_t>(elapsed, 0) % length_) % length_;
}

void PreviewClock::play() {
    if (playing_)
        return;
    anchor_time_ = now_();
    playing_ = true;
}

void PreviewClock::pause() {
    anchor_tick_ = tick();
    playing_ = false;
}

void PreviewClock::step(std::int64_t ticks) {
    pause();
    anchor_tick_ = within(anchor_tick_ + ticks);
}

void PreviewClock::seek(std::int64_t tick) {
    anchor_tick_ = within(tick);
    anchor_time_ = now_();
}

std::int64_t PreviewClock::within(std::int64_t tick) const {
    return std::clamp<std::int64_t>(tick, 0, length_ - 1);
}

}  // namespace tavrix
