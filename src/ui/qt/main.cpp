#include <QApplication>

#include "ui/qt/application.h"
#include "ui/qt/editor_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tavrix::qt::prepare_application(app);
    tavrix::qt::EditorWindow window;
    window.show();
    return QApplication::exec();
}
