// A sprite as the stage draws it, already decoded: the one value that passes from the
// sprite archive reader to the stage.
#pragma once

#include <compare>
#include <cstdint>
#include <vector>

namespace tavrix {

// A sprite is known by its group and its image number, both 16-bit.
struct SpriteKey {
    std::uint16_t group = 0;
    std::uint16_t number = 0;

    friend auto operator<=>(const SpriteKey&, const SpriteKey&) = default;
};

// Straight (not premultiplied) RGBA, 4 bytes a pixel in the order R, G, B, A, row by row
// from the top row. Alpha is 0 where the engine draws nothing (palette index 0).
struct Picture {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::int16_t axis_x = 0;  // the point of the image placed at the drawing position
    std::int16_t axis_y = 0;
    std::vector<std::uint8_t> rgba;  // width x height x 4 bytes
};

}  // namespace tavrix
