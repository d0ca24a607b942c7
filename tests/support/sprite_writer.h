// Sprite archives written by the tests themselves, both versions and every coding, each
// sprite's pixels given as they should decode.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "sprites/picture.h"

namespace tavrix::testing {

enum class Coding : std::uint8_t {
    Pcx,
    PcxPlain,
    Raw,
    Rle8,
    Rle5,
    Lz5,
    PngIndexed,
    PngRgb,
    PngRgba
};

struct SpriteDraft {
    SpriteKey key;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::int16_t axis_x = 0;
    std::int16_t axis_y = 0;
    Coding coding = Coding::Raw;
    std::vector<std::uint8_t> pixels;   // indexes; RGB or RGBA for the direct PNGs
    std::optional<std::uint16_t> link;  // a linked sprite, without pixels of its own
    std::uint16_t palette = 0;          // the palette node, or in version 1 the palette it holds
    bool same_palette = false;          // version 1: it holds no palette
    bool translated = false;            // version 2: its data in the translated block
    std::uint16_t bytes_per_line = 0;   // version 1: 0 for the width rounded up to even
};

using Colour = std::array<std::uint8_t, 3>;

struct PaletteDraft {
    SpriteKey key;
    std::vector<Colour> colours;
    std::optional<std::uint16_t> link;
};

struct ArchiveDraft {
    int version = 2;
    bool shared_palette = false;  // version 1
    std::vector<SpriteDraft> sprites;
    std::vector<PaletteDraft> palettes;
};

[[nodiscard]] std::vector<std::uint8_t> write_archive(const ArchiveDraft& archive);

// A sprite's data as an archive holds it (version 2: after the stated length, if any).
[[nodiscard]] std::vector<std::uint8_t> coded_pixels(const SpriteDraft& sprite);

// The picture a sprite of `archive` must decode to, with the pixels and size of `holder`
// (itself unless linked) and, for indexes, the colours of `palette`.
[[nodiscard]] Picture expected_picture(const SpriteDraft& sprite, const SpriteDraft& holder,
                                       const PaletteDraft& palette);

// Archives whose sprites need every packet kind of every coding: rows of long runs, noise,
// copies of a row far above and short patterns. Version 1 holds own palettes, the previous
// sprite's palette, plain PCX with lines longer than the width and linked sprites taking
// their target's palette or the previous one; version 2 every format, a palette of fewer
// colours, a linked palette, the translated block and a linked sprite with its own palette.
[[nodiscard]] ArchiveDraft busy_version1(bool shared_palette);
[[nodiscard]] ArchiveDraft busy_version2(std::uint16_t width = 48, std::uint16_t height = 20);

}  // namespace tavrix::testing
