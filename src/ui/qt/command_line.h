// The command line of the Qt window: tavrix [OPTION]... [SESSION].
#pragma once

#include <QString>
#include <optional>
#include <variant>

class QApplication;

namespace tavrix::qt {

struct CommandLine {
    std::optional<QString> session;  // the session file named, if any
};

// A command line that cannot be followed: the line to print, and status 2.
struct UsageError {
    QString message;
};

// Answers --help and --version, and then ends the program. It runs before the window
// system is reached, so that both work without a display; for the same reason, when no
// window system is named at all, a bad command line is reported here (the status to end
// with is returned), since Qt would stop before the window's own check could run.
[[nodiscard]] std::optional<int> answer_early(int argc, char** argv);

// The command line once the application has taken Qt's own options (-platform, -style,
// ...) out of it, or why it cannot be followed.
[[nodiscard]] std::variant<CommandLine, UsageError> read_command_line(const QApplication& app);

// Prints a usage error as one line on standard error; returns the status to end with.
[[nodiscard]] int report(const UsageError& error);

}  // namespace tavrix::qt
