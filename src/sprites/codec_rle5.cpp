#include "sprites/codecs.h"
#include "sprites/pixel_cursor.h"

namespace tavrix {

// A packet: a run length, a byte counting the short runs that follow (its top bit: a colour
// byte comes next, else the colour is 0), that colour run length + 1 times, then the short
// runs, each a 5-bit colour under a 3-bit run length.
CodecResult decode_rle5(CodedBytes in, PixelBytes out) noexcept {
    PixelCursor pixels(out);
    CodedReader coded(in);
    while (!pixels.full()) {
        std::uint8_t run = 0;
        std::uint8_t short_runs = 0;
        std::uint8_t colour = 0;
        if (!coded.take(run) || !coded.take(short_runs) ||
            ((short_runs & 0x80) != 0 && !coded.take(colour)))
            return CodecResult::InputEnded;
        pixels.fill(colour, run + 1u);
        for (int left = short_runs & 0x7F; left > 0 && !pixels.full(); --left) {
            std::uint8_t packed = 0;
            if (!coded.take(packed))
                return CodecResult::InputEnded;
            pixels.fill(packed & 0x1F, (packed >> 5) + 1u);
        }
    }
    return CodecResult::Filled;
}

}  // namespace tavrix
