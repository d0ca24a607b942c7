#include "ui/qt/command_line.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ui/qt/application.h"

namespace tavrix::qt {
namespace {

constexpr int kUsageError = 2;

const QCommandLineOption& help_option() {
    static const QCommandLineOption option({QStringLiteral("h"), QStringLiteral("help")},
                                           QStringLiteral("Muestra esta ayuda y termina."));
    return option;
}

const QCommandLineOption& version_option() {
    static const QCommandLineOption option({QStringLiteral("V"), QStringLiteral("version")},
                                           QStringLiteral("Muestra la versión y termina."));
    return option;
}

void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Editor de intros animadas: describe la intro de un juego en una ventana\n"
                       "y escribe su archivo de definición."));
    parser.addOption(help_option());
    parser.addOption(version_option());
    parser.addPositionalArgument(QStringLiteral("sesión"),
                                 QStringLiteral("El archivo de sesión que se abre."),
                                 QStringLiteral("[sesión]"));
}

std::variant<CommandLine, UsageError> read_arguments(const QStringList& arguments) {
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(arguments))
        return UsageError{parser.errorText()};
    const QStringList operands = parser.positionalArguments();
    if (operands.size() > 1)
        return UsageError{
            QStringLiteral("Sobra el argumento «%1»: solo se abre una sesión.").arg(operands[1])};
    if (operands.isEmpty())
        return CommandLine{};
    return CommandLine{operands.front()};
}

// A display, a Wayland socket, a chosen Qt platform, or Qt's own -platform option.
bool window_system_named(const QStringList& arguments) {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(variable))
            return true;
    }
    return arguments.contains(QStringLiteral("-platform")) ||
           arguments.contains(QStringLiteral("--platform"));
}

}  // namespace

std::optional<int> answer_early(int argc, char** argv) {
    if (argc < 2)
        return std::nullopt;
    // The usage line names the program as people call it, not the path it was started by.
    std::vector<char*> arguments(argv, argv + argc);
    char name[] = "tavrix";
    arguments.front() = name;
    QCoreApplication app(argc, arguments.data());
    name_application();
    speak_spanish(app);
    QCommandLineParser parser;
    describe(parser);
    // Its errors wait for read_command_line: Qt's own options are not known here.
    (void)parser.parse(QCoreApplication::arguments());
    if (parser.isSet(help_option()))
        parser.showHelp(EXIT_SUCCESS);
    if (parser.isSet(version_option()))
        parser.showVersion();
    if (window_system_named(QCoreApplication::arguments()))
        return std::nullopt;
    const auto command = read_arguments(QCoreApplication::arguments());
    if (const auto* error = std::get_if<UsageError>(&command))
        return report(*error);
    return std::nullopt;
}

std::variant<CommandLine, UsageError> read_command_line(const QApplication& app) {
    return read_arguments(app.arguments());
}

int report(const UsageError& error) {
    // Returning from main, rather than exiting here, lets the application close its fonts.
    std::fprintf(stderr, "tavrix: %s (tavrix --help muestra el uso)\n",
                 qUtf8Printable(error.message));
    return kUsageError;
}

}  // namespace tavrix::qt
