#include "sprites/archive_path.h"

#include <algorithm>

namespace tavrix {
namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "/\\";
#else
constexpr std::string_view kSeparators = "/";
#endif

bool is_absolute(std::string_view path) {
    const bool drive = path.size() >= 2 && path[1] == ':';
    return drive || (!path.empty() && (path[0] == '/' || path[0] == '\\'));
}

// The folder part of a path, with its last separator; empty for a bare file name.
std::string_view folder_of(std::string_view path) {
    const auto separator = path.find_last_of(kSeparators);
    return separator == std::string_view::npos ? std::string_view{} : path.substr(0, separator + 1);
}

}  // namespace

std::string resolve_archive_path(std::string_view storyboard_path, std::string_view archive_name,
                                 const std::function<bool(std::string_view path)>& exists) {
    std::string name(archive_name);
#ifndef _WIN32
    std::replace(name.begin(), name.end(), '\\', '/');
#endif
    if (name.empty() || is_absolute(name))
        return name;
    std::string beside(folder_of(storyboard_path));
    beside += name;
    if (beside != name && !exists(beside) && exists(name))
        return name;
    return beside;
}

}  // namespace tavrix
