// The stage as the bytes of a PNG file, for tavrix-script's "preview" and whatever saves
// what the preview shows.
#pragma once

#include <span>
#include <string>

#include "stage/compose.h"

namespace tavrix {

// 320 x 240, 8-bit RGB: the stage is opaque. The same pixels always give the same bytes.
[[nodiscard]] std::string encode_png(std::span<const std::uint8_t, kStageBytes> image);

}  // namespace tavrix
