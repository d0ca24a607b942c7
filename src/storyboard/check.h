// "Comprobar": reads the fields exactly as "Generar!" would and lists every reason a game
// engine would not play the storyboard as meant. It writes nothing and blocks nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "storyboard/storyboard.h"
#include "storyboard/writer.h"
#include "system/file_input.h"

namespace tavrix {

// An expansion longer than this many frames is worth a warning.
inline constexpr std::uint64_t kManyFrames = 1'000'000;

// What a person is told when the check finds nothing.
inline constexpr std::string_view kNoFindings =
    "Sin observaciones: el motor jugará el guion tal como está.";

// One Spanish line per finding, each naming the field by its label on the window and the
// frames concerned; none when all is well. `exists` is asked about the .sff and music files
// beside the storyboard file; when it is empty they are not looked for.
// With several scenes, each finding about one of them starts by naming it. `path`: where
// the storyboard file is written.
[[nodiscard]] std::vector<std::string> check_storyboard(const Storyboard& storyboard,
                                                        std::string_view path,
                                                        const FileExists& exists);

}  // namespace tavrix
