// Session files read from the real file system, whole; a file larger than the limit is read
// only as far as `limit + 1` bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "storyboard/output.h"

namespace tavrix {

FileContents read_system_file(std::string_view path, std::size_t limit);

}  // namespace tavrix
