#include <QApplication>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>

#include "system/file_output.h"
#include "ui/qt/application.h"
#include "ui/qt/command_line.h"
#include "ui/qt/editor_window.h"
#include "ui/qt/tools_menu.h"

int main(int argc, char** argv) {
    tavrix::prepare_process_for_files();
    tavrix::qt::answer_help_and_version(argc, argv);
    tavrix::qt::FontConfigurationLoad fonts;
    QApplication app(argc, argv);
    tavrix::qt::prepare_application(app);
    fonts.wait();
    // The session named here is kept for the session files, which will open it.
    [[maybe_unused]] const tavrix::qt::CommandLine command = tavrix::qt::read_command_line(app);
    // The form keeps its size and every control its place: the menu bar sits above it.
    QMainWindow window;
    auto* editor = new tavrix::qt::EditorWindow;
    window.setCentralWidget(editor);
    window.setWindowTitle(editor->windowTitle());
    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    tavrix::qt::add_tools_menu(*window.menuBar(), *editor);
    window.show();
    return QApplication::exec();
}
