#include "sprites/codecs.h"
#include "sprites/pixel_cursor.h"

namespace tavrix {

CodecResult decode_pcx(CodedBytes in, PixelBytes out, std::size_t width, std::size_t bytes_per_line,
                       bool runs) noexcept {
    if (width == 0)
        return out.empty() ? CodecResult::Filled : CodecResult::BadData;
    if (bytes_per_line < width || out.size() % width != 0)
        return CodecResult::BadData;
    CodedReader coded(in);
    for (std::size_t start = 0; start < out.size(); start += width) {
        // The pixels past the width fall off the end of the line.
        PixelCursor line(out.subspan(start, width));
        for (std::size_t left = bytes_per_line; left > 0;) {
            std::uint8_t value = 0;
            if (!coded.take(value))
                return CodecResult::InputEnded;
            std::size_t count = 1;
            if (runs && value >= 0xC0) {
                count = std::min<std::size_t>(value & 0x3F, left);
                if (!coded.take(value))
                    return CodecResult::InputEnded;
            }
            line.fill(value, count);
            left -= count;
        }
    }
    return CodecResult::Filled;
}

}  // namespace tavrix
