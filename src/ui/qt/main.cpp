#include <QApplication>

#include "system/file_output.h"
#include "ui/qt/application.h"
#include "ui/qt/command_line.h"
#include "ui/qt/main_window.h"

// tavrix [OPTION]... [SESSION]: the editor, with that session open.
int main(int argc, char** argv) {
    tavrix::prepare_process_for_files();
    tavrix::qt::answer_help_and_version(argc, argv);
    tavrix::qt::FontConfigurationLoad fonts;
    QApplication app(argc, argv);
    tavrix::qt::prepare_application(app);
    fonts.wait();
    const auto command = tavrix::qt::read_command_line(app);
    if (const auto* error = std::get_if<tavrix::qt::UsageError>(&command))
        return tavrix::qt::report(*error);
    tavrix::qt::MainWindow window;
    window.show();
    window.start(std::get<tavrix::qt::CommandLine>(command).session.value_or(QString()));
    return QApplication::exec();
}
