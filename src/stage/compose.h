// Draws the stage of a plan at one tick into an image the caller owns. Drawing never
// fails: a sprite that cannot be had is drawn as a placeholder box, and the report says so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "sprites/picture.h"
#include "stage/plan.h"

namespace tavrix {

inline constexpr std::size_t kStageBytes = std::size_t{kStageWidth} * kStageHeight * 4;

// The stage as straight RGBA, row by row from the top; every pixel is opaque.
using StagePixels = std::span<std::uint8_t, kStageBytes>;

// Where the stage finds its sprites.
class SpriteSource {
  public:
    // The sprite, decoded; none when it cannot be drawn.
    [[nodiscard]] virtual std::shared_ptr<const Picture> find(SpriteKey key) = 0;
    // One Spanish line saying why `find` gave none for `key`.
    [[nodiscard]] virtual std::string why_missing(SpriteKey key) = 0;

    virtual ~SpriteSource() = default;
};

// The sprites of the archive that a storyboard at `storyboard_path` names as
// `archive_name`, found as an engine finds it. Never fails: an archive that cannot be had
// gives sprites that all say why.
using OpenSprites = std::function<std::unique_ptr<SpriteSource>(std::string_view storyboard_path,
                                                                std::string_view archive_name)>;

// A sprite that cannot be drawn is a box of this colour and size, its top-left corner at
// the drawing position.
inline constexpr Rgb kPlaceholderColour{255, 0, 255};
inline constexpr int kPlaceholderSide = 16;

// What plays the action at a tick: the frame shown, and whether its sprite was missing.
struct Drawn {
    const ActionFrame* frame = nullptr;  // none: nothing drawn
    bool placeholder = false;
};

struct StageReport {
    Drawn background;
    Drawn layer;
};

// The stage at `tick` of the scene (taken within 0 to the plan's end time): the clear
// colour, the masked background, the layer's frame with the sprite's axis at its place,
// then the fades.
StageReport compose(const Plan& plan, std::int64_t tick, SpriteSource& sprites, StagePixels image);

}  // namespace tavrix
