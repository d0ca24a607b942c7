#include "sprites/codecs.h"
#include "sprites/pixel_cursor.h"

namespace tavrix {
namespace {

// A short copy gives the top two bits of its first byte to a byte of distance shared by
// four short copies: the first three read their own distance byte, the fourth uses it.
class RecycledDistance {
  public:
    // The distance of a short copy whose first byte is `first`, or 0 when the coded bytes
    // ended.
    std::size_t next(std::uint8_t first, CodedReader& coded) noexcept {
        bits_ |= static_cast<std::uint8_t>((first & 0xC0) >> (2 * given_));
        if (++given_ == 4) {
            const std::size_t distance = bits_ + 1u;
            bits_ = 0;
            given_ = 0;
            return distance;
        }
        std::uint8_t byte = 0;
        return coded.take(byte) ? byte + 1u : 0;
    }

  private:
    std::uint8_t bits_ = 0;
    int given_ = 0;
};

// A run: a first byte whose top three bits count a 5-bit colour, or, when they are 0, the
// colour alone with the next byte + 8 as its count.
bool run_packet(std::uint8_t first, CodedReader& coded, PixelCursor& pixels) noexcept {
    if ((first & 0xE0) != 0) {
        pixels.fill(first & 0x1F, first >> 5);
        return true;
    }
    std::uint8_t count = 0;
    if (!coded.take(count))
        return false;
    pixels.fill(first, count + 8u);
    return true;
}

// Filled: the copy was made.
CodecResult copy_packet(std::uint8_t first, CodedReader& coded, PixelCursor& pixels,
                        RecycledDistance& recycled) noexcept {
    std::size_t distance = 0;
    std::size_t count = 0;
    if ((first & 0x3F) == 0) {
        // A long copy: ten bits of distance, the count in a byte of its own.
        std::uint8_t low = 0;
        std::uint8_t length = 0;
        if (!coded.take(low) || !coded.take(length))
            return CodecResult::InputEnded;
        distance = (static_cast<std::size_t>(first) << 2 | low) + 1;
        count = length + 3u;
    } else {
        count = (first & 0x3F) + 1u;
        distance = recycled.next(first, coded);
        if (distance == 0)
            return CodecResult::InputEnded;
    }
    return pixels.copy_back(distance, count) ? CodecResult::Filled : CodecResult::BadData;
}

}  // namespace

CodecResult decode_lz5(CodedBytes in, PixelBytes out) noexcept {
    PixelCursor pixels(out);
    CodedReader coded(in);
    RecycledDistance recycled;
    while (!pixels.full()) {
        std::uint8_t control = 0;
        if (!coded.take(control))
            return CodecResult::InputEnded;
        for (int packet = 0; packet < 8 && !pixels.full(); ++packet) {
            std::uint8_t first = 0;
            if (!coded.take(first))
                return CodecResult::InputEnded;
            if ((control >> packet & 1) == 0) {
                if (!run_packet(first, coded, pixels))
                    return CodecResult::InputEnded;
            } else if (const CodecResult copied = copy_packet(first, coded, pixels, recycled);
                       copied != CodecResult::Filled) {
                return copied;
            }
        }
    }
    return CodecResult::Filled;
}

}  // namespace tavrix
