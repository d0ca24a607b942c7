#include "storyboard/storyboard.h"

namespace tavrix {

Storyboard::Row range_row(const std::array<std::string, kRangeCount>& from,
                          const std::array<std::string, kRangeCount>& to) {
    Storyboard::Row row;
    for (std::size_t i = 0; i < kRangeCount; ++i)
        row[i] = {from[i], to[i], kFrameRanges[i].steps_down};
    return row;
}

}  // namespace tavrix
