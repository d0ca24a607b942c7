// The pixel codecs of sprite archives, each a pure function from the coded bytes into an
// output of exactly the picture's size: no allocation, no I/O, no knowledge of the archive.
// A count that lies can end a picture early, never write past it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tavrix {

enum class CodecResult : std::uint8_t {
    Filled,      // every output byte was written
    InputEnded,  // the coded bytes ended first
    BadData,     // a copy reached back before the first pixel, or lines too short
};

using CodedBytes = std::span<const std::uint8_t>;
using PixelBytes = std::span<std::uint8_t>;

// The bytes as they are.
[[nodiscard]] CodecResult decode_raw(CodedBytes in, PixelBytes out) noexcept;
// A byte 0x40 to 0x7F: its low 6 bits count the next byte; any other byte is one pixel.
[[nodiscard]] CodecResult decode_rle8(CodedBytes in, PixelBytes out) noexcept;
// Packets of one long run of a colour, then short runs of 5-bit colours.
[[nodiscard]] CodecResult decode_rle5(CodedBytes in, PixelBytes out) noexcept;
// Runs of 5-bit colours and copies of earlier pixels, eight packets to a control byte.
[[nodiscard]] CodecResult decode_lz5(CodedBytes in, PixelBytes out) noexcept;
// PCX lines of `bytes_per_line` pixels of which the first `width` are kept (`out` holds
// whole lines of `width`); with `runs`, a byte 0xC0 or above counts the next byte. A run
// does not carry over from one line to the next.
[[nodiscard]] CodecResult decode_pcx(CodedBytes in, PixelBytes out, std::size_t width,
                                     std::size_t bytes_per_line, bool runs) noexcept;

}  // namespace tavrix
