#include "system/byte_source.h"

#include <algorithm>

namespace tavrix {

bool MemorySource::read(std::uint64_t offset, std::span<std::uint8_t> into) {
    if (!range_fits(offset, into.size(), bytes_.size()))
        return false;
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), into.size(), into.begin());
    return true;
}

}  // namespace tavrix
