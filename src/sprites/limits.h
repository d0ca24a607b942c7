// The most the sprite reader takes from an archive, which comes from a stranger: every size,
// count and allocation is held to these before anything is reserved.
#pragma once

#include <cstdint>

namespace tavrix {

inline constexpr std::uint32_t kMaxSpriteSide = 8192;              // pixels, either way
inline constexpr std::uint64_t kMaxSpritePixels = 4096ull * 4096;  // width x height
inline constexpr std::uint32_t kMaxSprites = 65536;                // in one archive
inline constexpr std::uint32_t kMaxPalettes = 65536;               // in one archive
inline constexpr std::uint32_t kMaxPaletteColours = 256;
inline constexpr std::uint64_t kMaxPictureBytes = kMaxSpritePixels * 4;  // one decoded sprite
inline constexpr std::uint64_t kMaxKeptBytes = 256ull << 20;  // every decoded sprite kept

// The coded bytes of one sprite are read whole; no codec needs more than two bytes for each
// byte of the picture (PCX and RLE8 at their worst), and a PNG's extra chunks get this much.
inline constexpr std::uint64_t kMaxCodedSlack = 1ull << 20;
[[nodiscard]] constexpr std::uint64_t max_coded_bytes(std::uint64_t pixels) {
    return 2 * 4 * pixels + kMaxCodedSlack;
}

// No codec but PNG makes more pixels than this of one coded byte (an LZ5 run of 263 pixels
// takes two bytes and an eighth of a control byte), so shorter data is refused before the
// picture's memory is taken.
inline constexpr std::uint64_t kMostPixelsPerCodedByte = 132;

static_assert(kMaxPictureBytes <= kMaxKeptBytes, "one sprite always fits among those kept");

}  // namespace tavrix
