// Where the engine finds the archive that a storyboard names in "Archivo .sff:".
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tavrix {

// A name that is not absolute is looked for in the storyboard file's folder first, then in
// the current folder. Gives the first place where `exists` finds a file; when neither
// holds one, the place beside the storyboard, so that a fault names where it was expected.
// Backslashes in the name are folder separators on every system, since storyboards are
// written on Windows as often as not. An empty name gives an empty path.
[[nodiscard]] std::string resolve_archive_path(
    std::string_view storyboard_path, std::string_view archive_name,
    const std::function<bool(std::string_view path)>& exists);

}  // namespace tavrix
