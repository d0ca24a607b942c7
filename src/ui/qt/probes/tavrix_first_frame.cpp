// The editor exactly as main.cpp starts it, quitting after its first frame.
#include <QApplication>

#include "ui/qt/application.h"
#include "ui/qt/editor_window.h"
#include "ui/qt/probes/first_frame.h"

int main(int argc, char** argv) {
    tavrix::qt::FontConfigurationLoad fonts;
    QApplication app(argc, argv);
    tavrix::qt::prepare_application(app);
    fonts.wait();
    tavrix::qt::EditorWindow window;
    tavrix::qt::quit_after_first_frame(window);
    window.show();
    return QApplication::exec();
}
