// What opening an archive learns of each sprite: where its coded pixels and its palette lie,
// and how they are coded, with every range already checked against the file and every link
// followed. The index holds offsets, never pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "common/expected.h"
#include "sprites/archive.h"
#include "sprites/fault.h"
#include "system/byte_source.h"

namespace tavrix {

enum class Encoding : std::uint8_t {
    Pcx,  // PCX runs, or PCX bytes as they are
    Raw,
    Rle8,
    Rle5,
    Lz5,
    PngIndexed,  // a PNG of palette indexes
    PngRgb,
    PngRgba,
    Unknown,
};

[[nodiscard]] constexpr bool is_png(Encoding encoding) {
    return encoding == Encoding::PngIndexed || encoding == Encoding::PngRgb ||
           encoding == Encoding::PngRgba;
}

// Whether the decoded pixels are indexes into a palette.
[[nodiscard]] constexpr bool is_indexed(Encoding encoding) {
    return encoding != Encoding::PngRgb && encoding != Encoding::PngRgba &&
           encoding != Encoding::Unknown;
}

struct CodedPixels {
    Encoding encoding = Encoding::Unknown;
    std::uint64_t offset = 0;  // in the file
    std::uint32_t length = 0;
    // PCX only.
    std::uint32_t bytes_per_line = 0;
    bool pcx_runs = true;
};

struct PaletteBytes {
    std::uint64_t offset = 0;  // in the file
    std::uint32_t colours = 0;
    std::uint8_t stride = 4;  // bytes a colour: R, G, B and, in version 2, one unused
};

struct IndexEntry {
    SpriteInfo info;
    CodedPixels pixels;
    PaletteBytes palette;  // for indexed pixels
};

// The index of a version 1 or 2 archive; the signature is already checked.
[[nodiscard]] Expected<std::vector<IndexEntry>, SpriteFault> read_index_v1(ByteSource& source);
[[nodiscard]] Expected<std::vector<IndexEntry>, SpriteFault> read_index_v2(ByteSource& source);

// The fault of a range that does not lie within `size` bytes: past the end altogether, or
// starting within and running past it.
[[nodiscard]] SpriteFaultKind range_fault(std::uint64_t offset, std::uint64_t size);

[[nodiscard]] SpriteFault archive_fault(SpriteFaultKind kind, std::uint64_t offset);
[[nodiscard]] SpriteFault sprite_fault(SpriteFaultKind kind, SpriteKey key, std::uint64_t offset);
// A read of a range already checked that failed all the same.
[[nodiscard]] SpriteFault unreadable_fault();

}  // namespace tavrix
