// The yardstick: the smallest Qt Widgets program that shows one empty window.
#include <QApplication>
#include <QWidget>

#include "ui/qt/probes/first_frame.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    tavrix::qt::quit_after_first_frame(window);
    window.show();
    return QApplication::exec();
}
