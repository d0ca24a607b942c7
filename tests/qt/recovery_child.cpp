// The window that the recovery test kills: it starts as the editor does, takes a person's
// edits, prints its dump and waits for the end.
#include <QApplication>
#include <QLineEdit>
#include <QtTest>

#include <iostream>

#include "script/dump.h"
#include "ui/qt/application.h"
#include "ui/qt/main_window.h"

int main(int argc, char** argv) {
    using tavrix::ControlId;
    QApplication app(argc, argv);
    tavrix::qt::prepare_application(app);
    tavrix::qt::MainWindow window;
    window.show();
    window.start({});
    const auto type = [&window](ControlId id, const char* keys) {
        auto* box = qobject_cast<QLineEdit*>(window.editor().widget(id));
        box->selectAll();
        QTest::keyClicks(box, QString::fromUtf8(keys));
    };
    type(ControlId::ndees, "3");
    QTest::mouseClick(window.editor().widget(ControlId::botsig), Qt::LeftButton);
    QTest::mouseClick(window.editor().widget(ControlId::Check6), Qt::LeftButton);
    type(ControlId::ttika, "45");
    type(ControlId::cantA, "uno dos");
    std::cout << tavrix::script::dump_json(window.editor().form()) << std::endl;
    return QApplication::exec();
}
