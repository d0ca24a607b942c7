#include <algorithm>

#include "sprites/codecs.h"

namespace tavrix {

CodecResult decode_raw(CodedBytes in, PixelBytes out) noexcept {
    if (in.size() < out.size())
        return CodecResult::InputEnded;
    std::copy_n(in.begin(), out.size(), out.begin());
    return CodecResult::Filled;
}

}  // namespace tavrix
