// Which tick of the scene the preview shows. While it plays, the tick comes from a steady
// clock (the seconds since it started, times 60), so that a late or missed timer event of a
// window never slows the scene down: the next one shows the tick the clock has reached.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace tavrix {

class PreviewClock {
  public:
    using Now = std::function<std::chrono::steady_clock::time_point()>;

    explicit PreviewClock(Now now = std::chrono::steady_clock::now) : now_(std::move(now)) {}

    // The scene's ticks, 0 to length - 1 (at least one); playing starts again from 0 after
    // the last, and the tick shown stays within them when the scene gets shorter.
    void set_length(std::int64_t ticks);
    std::int64_t length() const { return length_; }

    [[nodiscard]] std::int64_t tick() const;
    bool playing() const { return playing_; }

    void play();
    void pause();
    void toggle() { playing_ ? pause() : play(); }
    // One tick back or forward, staying within the scene; the preview pauses there.
    void step(std::int64_t ticks);
    // Shows `tick` (taken within the scene), playing on from there if it was playing.
    void seek(std::int64_t tick);

  private:
    std::int64_t within(std::int64_t tick) const;

    Now now_;
    std::int64_t length_ = 1;
    bool playing_ = false;
    std::int64_t anchor_tick_ = 0;  // the tick shown at anchor_time_
    std::chrono::steady_clock::time_point anchor_time_{};
};

}  // namespace tavrix
