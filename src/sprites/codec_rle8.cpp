#include "sprites/codecs.h"
#include "sprites/pixel_cursor.h"

namespace tavrix {

CodecResult decode_rle8(CodedBytes in, PixelBytes out) noexcept {
    PixelCursor pixels(out);
    CodedReader coded(in);
    while (!pixels.full()) {
        std::uint8_t byte = 0;
        if (!coded.take(byte))
            return CodecResult::InputEnded;
        if ((byte & 0xC0) != 0x40) {
            pixels.fill(byte, 1);
            continue;
        }
        std::uint8_t value = 0;
        if (!coded.take(value))
            return CodecResult::InputEnded;
        pixels.fill(value, byte & 0x3F);
    }
    return CodecResult::Filled;
}

}  // namespace tavrix
