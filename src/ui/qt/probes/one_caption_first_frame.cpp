// The second yardstick: the smallest window that shows text as the editor shows it (the same
// start: fonts read on the other core, style, font, language, icon), one caption in place of
// the form. What it costs beyond the empty window is the price of showing any text at all;
// what the editor costs beyond it is the form's own.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "ui/qt/application.h"
#include "ui/qt/probes/first_frame.h"

int main(int argc, char** argv) {
    tavrix::qt::FontConfigurationLoad fonts;
    QApplication app(argc, argv);
    tavrix::qt::prepare_application(app);
    fonts.wait();
    QWidget window;
    const QLabel caption(QStringLiteral("Tavrix"), &window);
    tavrix::qt::quit_after_first_frame(window);
    window.show();
    return QApplication::exec();
}
