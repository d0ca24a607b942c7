// What the stage draws of one scene, worked out once from the storyboard and kept until the
// window changes: the scene's length, its colours and fades, where the layer and the
// masked background stand, and the action's timeline. Drawing a tick then only looks up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sprites/picture.h"

namespace tavrix {

inline constexpr int kStageWidth = 320;
inline constexpr int kStageHeight = 240;
inline constexpr int kTicksPerSecond = 60;

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// One frame line of the action as an engine keeps it.
struct ActionFrame {
    SpriteKey sprite;
    std::int16_t x = 0;  // added to the position of whatever plays the action
    std::int16_t y = 0;
    std::int32_t time = 0;     // ticks; 0 is never shown, below 0 is held for ever
    std::uint64_t number = 0;  // the frame's place in the action as written, from 1
};

// The frames of an action that an engine shows, each with the tick (counted from the
// moment the action starts) at which it shows; after the last the action starts again,
// unless that last one is held.
class Timeline {
  public:
    // Frames come in the action's order; a frame after a held one is never reached.
    void add(const ActionFrame& frame);

    // The frame shown `ticks` ticks after the action started (negative: not started); none
    // when the action shows no frame at all.
    [[nodiscard]] const ActionFrame* at(std::int64_t ticks) const;

    std::size_t size() const { return frames_.size(); }
    // The ticks of one pass through the frames (those of a held last frame not counted).
    std::int64_t cycle() const { return cycle_; }
    bool held() const { return held_; }

  private:
    std::vector<std::int64_t> starts_;
    std::vector<ActionFrame> frames_;
    std::int64_t cycle_ = 0;
    bool held_ = false;
};

struct Fade {
    std::int64_t ticks = 0;  // 0: no fade
    Rgb colour;
};

// Where something that plays the action stands, and the scene tick at which it starts.
struct Placement {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int64_t start = 0;
};

struct Plan {
    std::int64_t end_time = 0;  // the scene's last tick: it lasts end_time + 1 ticks
    Rgb clear;
    Fade fade_in;
    Fade fade_out;
    Timeline action;
    std::optional<Placement> background;  // the masked background, behind the layer
    std::optional<Placement> layer;
    // Why the layer or the background plays nothing although the form asks for it, one
    // Spanish line each; empty when all is drawn.
    std::vector<std::string> notes;
};

}  // namespace tavrix
