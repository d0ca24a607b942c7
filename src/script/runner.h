// tavrix-script: performs the actions of a script on a window that is never shown, as a
// person would, and reports as the scripting contract says.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string_view>

#include "app/form1.h"

namespace tavrix::script {

enum ExitStatus : int { kOk = 0, kExpectFailed = 1, kScriptError = 2, kGenerateFailed = 3 };

struct ScriptOptions {
    // A "Generar!" of more frames fails before it writes anything (0: no limit).
    std::uint64_t max_frames = kLargeRunFrames;
};

// Performs the script `text`, read whole beforehand. `script_name` is what messages start
// with: the path given, or "-" for standard input.
int run_script(std::string_view text, std::string_view script_name, std::ostream& out,
               std::ostream& err, Platform platform, const ScriptOptions& options = {});
// The same with each line performed as it arrives from `in` (standard input).
int run_script(std::istream& in, std::string_view script_name, std::ostream& out, std::ostream& err,
               Platform platform, const ScriptOptions& options = {});

}  // namespace tavrix::script
