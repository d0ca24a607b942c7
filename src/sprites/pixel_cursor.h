// Where a codec writes: an output that can only be filled from the front, by runs of one
// value or by copies of what is already written, and never past its end.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "sprites/codecs.h"

namespace tavrix {

class PixelCursor {
  public:
    explicit PixelCursor(PixelBytes out) noexcept : out_(out) {}

    [[nodiscard]] bool full() const noexcept { return written_ == out_.size(); }

    // `value` `count` times, or as many times as pixels are still wanted.
    void fill(std::uint8_t value, std::size_t count) noexcept {
        count = std::min(count, out_.size() - written_);
        std::fill_n(out_.begin() + static_cast<std::ptrdiff_t>(written_), count, value);
        written_ += count;
    }

    // `count` pixels from `distance` back, one by one, since a copy may overlap what it
    // writes; as many as are still wanted. False, and nothing written, unless the distance
    // lies within what is written.
    [[nodiscard]] bool copy_back(std::size_t distance, std::size_t count) noexcept {
        if (distance == 0 || distance > written_)
            return false;
        count = std::min(count, out_.size() - written_);
        for (std::size_t end = written_ + count; written_ < end; ++written_)
            out_[written_] = out_[written_ - distance];
        return true;
    }

  private:
    PixelBytes out_;
    std::size_t written_ = 0;
};

// The coded bytes, taken one at a time.
class CodedReader {
  public:
    explicit CodedReader(CodedBytes in) noexcept : in_(in) {}

    // The next byte into `byte`; false once they have all been taken.
    [[nodiscard]] bool take(std::uint8_t& byte) noexcept {
        if (at_ == in_.size())
            return false;
        byte = in_[at_++];
        return true;
    }

  private:
    CodedBytes in_;
    std::size_t at_ = 0;
};

}  // namespace tavrix
