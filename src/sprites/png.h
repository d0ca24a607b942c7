// PNG sprites, decoded by stb_image (never by a decoder of our own), its size checked against
// the sprite's before a pixel is decoded and its memory held to the sprite's size.
#pragma once

#include <cstdint>
#include <vector>

#include "common/expected.h"
#include "sprites/codecs.h"
#include "sprites/fault.h"

namespace tavrix {

enum class PngPixels : std::uint8_t {
    Indexes,  // an indexed PNG's palette indexes, one byte a pixel; its own colours unused
    Rgb,
    Rgba,
};

// The pixels of a whole PNG file that must be `width` x `height`. Faults: SizeMismatch
// (its header gives another size, or its image data is too short for it), PngRefused (anything
// stb_image refuses, or a PNG that is not indexed where indexes are wanted).
[[nodiscard]] Expected<std::vector<std::uint8_t>, SpriteFaultKind> decode_png(CodedBytes png,
                                                                              std::uint32_t width,
                                                                              std::uint32_t height,
                                                                              PngPixels pixels);

}  // namespace tavrix
