// The script file that tavrix-script runs. It is read through once before its first action,
// so that a script that cannot be opened or read does nothing at all.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <variant>

namespace tavrix::script {

// The file at `path`, open at its start; or why it cannot be run, in Spanish.
[[nodiscard]] std::variant<std::ifstream, std::string> open_script(
    const std::filesystem::path& path);

}  // namespace tavrix::script
