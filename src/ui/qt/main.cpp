#include <QApplication>

#include "ui/qt/application.h"
#include "ui/qt/command_line.h"
#include "ui/qt/editor_window.h"

int main(int argc, char** argv) {
    tavrix::qt::answer_help_and_version(argc, argv);
    tavrix::qt::FontConfigurationLoad fonts;
    QApplication app(argc, argv);
    tavrix::qt::prepare_application(app);
    fonts.wait();
    // The session named here is kept for the session files, which will open it.
    [[maybe_unused]] const tavrix::qt::CommandLine command = tavrix::qt::read_command_line(app);
    tavrix::qt::EditorWindow window;
    window.show();
    return QApplication::exec();
}
