// The command line of tavrix-script: [OPTION]... [SCRIPT].
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "script/runner.h"

namespace tavrix::script {

struct RunScript {
    std::string script = "-";  // a path, or "-" for standard input
    ScriptOptions options;
};
struct ShowHelp {};
struct ShowVersion {};
struct UsageError {
    std::string message;  // one line, in Spanish, without the program's name
};
using CommandLine = std::variant<RunScript, ShowHelp, ShowVersion, UsageError>;

// Reads the arguments that follow the program's name: --max-frames N (or =N), -h, -V and
// their long forms. "--" ends the options, so that a
// script whose name starts with "-" can still be given; a lone "-" is standard input.
[[nodiscard]] CommandLine read_command_line(std::span<const std::string> arguments);

// What --help prints.
[[nodiscard]] std::string_view help_text();

}  // namespace tavrix::script
