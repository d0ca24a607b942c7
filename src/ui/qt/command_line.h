// The command line of the Qt window: tavrix [OPTION]... [SESSION].
#pragma once

#include <QString>
#include <optional>

class QApplication;

namespace tavrix::qt {

struct CommandLine {
    std::optional<QString> session;  // the session file named, if any
};

// Answers --help and --version, and then ends the program. It runs before the window
// system is reached, so that both work without a display.
void answer_help_and_version(int argc, char** argv);

// The command line once the application has taken Qt's own options (-platform, -style,
// ...) out of it. A bad one ends the program with one line on standard error and status 2.
[[nodiscard]] CommandLine read_command_line(const QApplication& app);

}  // namespace tavrix::qt
