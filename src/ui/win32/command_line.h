// The command line of tavrix.exe: [OPTION]... [SESSION].
#pragma once

#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace tavrix::win32 {

struct OpenWindow {
    std::optional<std::string> session;  // the session file named, in UTF-8
};
struct ShowHelp {};
struct ShowVersion {};
struct UsageError {
    std::string message;  // one line, in Spanish, without the program's name
};
using CommandLine = std::variant<OpenWindow, ShowHelp, ShowVersion, UsageError>;

// The program's arguments in UTF-8, read from the wide-character command line: the ANSI
// one would turn a name outside the code page into "?".
[[nodiscard]] std::vector<std::string> program_arguments();

[[nodiscard]] CommandLine read_command_line(std::span<const std::string> arguments);

// Answers --help, --version or a bad command line on the standard output or error that the
// program was given (or the console of the prompt that started it) and returns the exit
// status; nothing when the window is to open.
[[nodiscard]] std::optional<int> answer_without_window(const CommandLine& command);

}  // namespace tavrix::win32
