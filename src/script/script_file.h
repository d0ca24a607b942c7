// The script file that tavrix-script runs. It is read whole through the file layer before
// its first action, so that a script that cannot be opened or read does nothing at all.
#pragma once

#include <string>
#include <string_view>

#include "common/expected.h"

namespace tavrix::script {

// Why a script cannot be run, in Spanish: "no se puede abrir el guion: el archivo no existe".
struct UnreadableScript {
    std::string message;
};

// The bytes of the script at `path` (UTF-8), or why it cannot be run.
[[nodiscard]] Expected<std::string, UnreadableScript> read_script(std::string_view path);

}  // namespace tavrix::script
