#include "sprites/decode.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "sprites/codecs.h"
#include "sprites/limits.h"
#include "sprites/png.h"

namespace tavrix {
namespace {

using K = SpriteFaultKind;
using Pixels = Expected<std::vector<std::uint8_t>, SpriteFaultKind>;

constexpr std::size_t kStatedLength = 4;  // before the coded pixels of every coded format

Pixels filled(CodecResult result, std::vector<std::uint8_t>&& out) {
    if (result != CodecResult::Filled)
        return K::BadPixelData;
    return std::move(out);
}

// The coded pixels after the length they state, which must be the picture's.
Pixels after_stated_length(CodedBytes coded, std::uint64_t expected,
                           CodecResult (*codec)(CodedBytes, PixelBytes) noexcept) {
    if (coded.size() < kStatedLength)
        return K::BadPixelData;
    const std::uint32_t stated = static_cast<std::uint32_t>(coded[0]) | coded[1] << 8 |
                                 coded[2] << 16 | static_cast<std::uint32_t>(coded[3]) << 24;
    if (stated != expected)
        return K::SizeMismatch;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(expected));
    return filled(codec(coded.subspan(kStatedLength), out), std::move(out));
}

Pixels png_after_stated_length(CodedBytes coded, const SpriteInfo& info, PngPixels pixels) {
    if (coded.size() < kStatedLength)
        return K::PngRefused;
    // The size that counts is the one in the PNG's own header.
    return decode_png(coded.subspan(kStatedLength), info.width, info.height, pixels);
}

Pixels decoded_pixels(const CodedPixels& source, CodedBytes coded, const SpriteInfo& info) {
    const std::uint64_t count = std::uint64_t{info.width} * info.height;
    switch (source.encoding) {
        case Encoding::Pcx: {
            std::vector<std::uint8_t> out(static_cast<std::size_t>(count));
            return filled(
                decode_pcx(coded, out, info.width, source.bytes_per_line, source.pcx_runs),
                std::move(out));
        }
        case Encoding::Raw: {
            std::vector<std::uint8_t> out(static_cast<std::size_t>(count));
            return filled(decode_raw(coded, out), std::move(out));
        }
        case Encoding::Rle8:
            return after_stated_length(coded, count, decode_rle8);
        case Encoding::Rle5:
            return after_stated_length(coded, count, decode_rle5);
        case Encoding::Lz5:
            return after_stated_length(coded, count, decode_lz5);
        case Encoding::PngIndexed:
            return png_after_stated_length(coded, info, PngPixels::Indexes);
        case Encoding::PngRgb:
            return png_after_stated_length(coded, info, PngPixels::Rgb);
        case Encoding::PngRgba:
            return png_after_stated_length(coded, info, PngPixels::Rgba);
        case Encoding::Unknown:
            break;
    }
    return K::BadPixelData;
}

// Index 0 is where nothing is drawn; an index past the palette's colours is black. The 256
// colours are made once, so that each pixel is one copy of four bytes.
std::vector<std::uint8_t> coloured(const std::vector<std::uint8_t>& indexes,
                                   const std::vector<std::uint8_t>& palette, std::size_t stride) {
    std::array<std::array<std::uint8_t, 4>, 256> colours{};
    const std::size_t known = palette.size() / stride;
    for (std::size_t index = 0; index < colours.size(); ++index) {
        if (index < known)
            std::copy_n(&palette[index * stride], 3, colours[index].begin());
        colours[index][3] = index == 0 ? 0 : 255;
    }
    std::vector<std::uint8_t> rgba(indexes.size() * 4);
    for (std::size_t i = 0; i < indexes.size(); ++i)
        std::memcpy(&rgba[i * 4], colours[indexes[i]].data(), 4);
    return rgba;
}

std::vector<std::uint8_t> opaque(const std::vector<std::uint8_t>& rgb) {
    std::vector<std::uint8_t> rgba(rgb.size() / 3 * 4);
    for (std::size_t i = 0; i < rgb.size() / 3; ++i) {
        rgba[i * 4] = rgb[i * 3];
        rgba[i * 4 + 1] = rgb[i * 3 + 1];
        rgba[i * 4 + 2] = rgb[i * 3 + 2];
        rgba[i * 4 + 3] = 255;
    }
    return rgba;
}

}  // namespace

Expected<Picture, SpriteFault> decode_sprite(ByteSource& source, const IndexEntry& entry) {
    const SpriteInfo& info = entry.info;
    const auto fault = [&](SpriteFaultKind kind) {
        return sprite_fault(kind, info.key, entry.pixels.offset);
    };
    const std::uint64_t count = std::uint64_t{info.width} * info.height;
    if (info.width > kMaxSpriteSide || info.height > kMaxSpriteSide || count > kMaxSpritePixels) {
        SpriteFault refused = fault(K::SizeTooLarge);
        refused.width = info.width;
        refused.height = info.height;
        return refused;
    }
    if (entry.pixels.length > max_coded_bytes(count) ||
        (!is_png(entry.pixels.encoding) && count > entry.pixels.length * kMostPixelsPerCodedByte))
        return fault(K::SizeMismatch);
    std::vector<std::uint8_t> coded(entry.pixels.length);
    if (!source.read(entry.pixels.offset, coded))
        return unreadable_fault();
    Pixels pixels = decoded_pixels(entry.pixels, coded, info);
    if (!pixels.ok())
        return fault(pixels.error());
    Picture picture{static_cast<std::uint16_t>(info.width),
                    static_cast<std::uint16_t>(info.height),
                    info.axis_x,
                    info.axis_y,
                    {}};
    if (entry.pixels.encoding == Encoding::PngRgba) {
        picture.rgba = std::move(pixels.value());
    } else if (entry.pixels.encoding == Encoding::PngRgb) {
        picture.rgba = opaque(pixels.value());
    } else {
        std::vector<std::uint8_t> palette(std::size_t{entry.palette.colours} *
                                          entry.palette.stride);
        if (!source.read(entry.palette.offset, palette))
            return unreadable_fault();
        picture.rgba = coloured(pixels.value(), palette, entry.palette.stride);
    }
    return picture;
}

}  // namespace tavrix
