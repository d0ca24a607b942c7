// The editor's top-level window as a person uses it: the "Archivo" menu, the title, the
// close prompt, the whole storyboard out and back in, and the recovery copy of a window that
// was killed.
#include <signal.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "person.h"
#include "script/dump.h"
#include "ui/qt/application.h"
#include "ui/qt/main_window.h"

using tavrix::ControlId;
using tavrix::qt::MainWindow;

namespace {

const QString kCaption = QStringLiteral("Tavrix v2.0 -= BETA =-");

void type(MainWindow& window, ControlId id, const QString& keys) {
    type_over(window.editor().widget(id), keys);
}

void click(MainWindow& window, ControlId id) {
    QTest::mouseClick(window.editor().widget(id), Qt::LeftButton);
}

// A shortcut reaches the active window only: a message box may have just taken that.
void press(MainWindow& window, QKeyCombination keys) {
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, keys.key(), keys.keyboardModifiers());
}

// Presses the button of that caption in the next message box, noting the box's text.
struct ButtonAnswer : ModalAnswer<QMessageBox> {
    explicit ButtonAnswer(const QString& caption)
        : ModalAnswer<QMessageBox>([this, caption](QMessageBox& box) {
              text = box.text();
              for (QAbstractButton* button : box.buttons()) {
                  if (button->text() == caption)
                      button->click();
              }
          }) {}
    QString text;
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        tavrix::qt::prepare_application(*qApp);
        QVERIFY(data_.isValid());
        qputenv("XDG_DATA_HOME", data_.path().toUtf8());
    }
    void menuTitleAndClosePrompt();
    void wholeStoryboard();
    void recoveryAfterKill();

  private:
    QTemporaryDir data_;  // the user's data folder, where recovery copies go
};

// A session opened at start names the window; stepping away and back is no change; an edit
// marks the window, Ctrl+S saves it where it came from, and closing with changes asks,
// each answer doing what it says.
void MainWindowTest::menuTitleAndClosePrompt() {
    QTemporaryDir dir;
    const QString path = dir.filePath("uno.tavrix");
    {
        tavrix::Form1 form(tavrix::system_platform());
        (void)form.type_text(ControlId::ndees, "2");
        QVERIFY(form.save_session(path.toStdString()).ok());
    }
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.windowTitle(), kCaption + "[*]");
    QCOMPARE(window.editor().geometry(),
             QRect(QPoint(0, window.menuBar()->height()), QSize(630, 575)));
    window.start(path);
    QCOMPARE(window.windowTitle(), "uno.tavrix[*] - " + kCaption);
    QCOMPARE(window.editor().form().window().text(ControlId::ndees), "2");
    click(window, ControlId::botsig);
    click(window, ControlId::botant);
    QVERIFY(window.isWindowModified());  // the first reload ever clears Check5: a change

    press(window, Qt::CTRL | Qt::Key_S);
    QVERIFY(!window.isWindowModified());
    click(window, ControlId::botsig);
    click(window, ControlId::botant);
    QVERIFY(!window.isWindowModified());
    type(window, ControlId::rojo, "9");
    QVERIFY(window.isWindowModified());
    {
        ButtonAnswer stay(QStringLiteral("Cancelar"));
        QVERIFY(!window.close());
        QCOMPARE(stay.text, QStringLiteral("¿Guardar los cambios de la sesión?"));
    }
    {
        ButtonAnswer save(QStringLiteral("Guardar"));
        QVERIFY(window.close());
    }
    QVERIFY(read_all(path).contains("\"esc_rojo\": [\"9\""));

    MainWindow again;
    again.show();
    again.start(path);
    type(again, ControlId::rojo, "5");
    ButtonAnswer discard(QStringLiteral("No guardar"));
    QVERIFY(again.close());
    QVERIFY(read_all(path).contains("\"esc_rojo\": [\"9\""));
}

// Ctrl+G writes every scene into the file of "Nombre del archivo:". "Importar storyboard..."
// asks about the unsaved changes before the file, reads it back, lists what it left and
// leaves an unsaved session with no file of its own.
void MainWindowTest::wholeStoryboard() {
    QTemporaryDir dir;
    const QString path = dir.filePath("todo.def");
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    type(window, ControlId::Text11, path);
    type(window, ControlId::ndees, "2");
    {
        ButtonAnswer done(QStringLiteral("Aceptar"));
        press(window, Qt::CTRL | Qt::Key_G);
        QCOMPARE(done.text, "Se generó \"" + path + "\". Escenas: 2.");
    }
    QVERIFY(read_all(path).contains("[Scene 1]"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write("[Info]\r\n");
    file.close();

    type(window, ControlId::ndees, "1");
    ButtonAnswer discard(QStringLiteral("No guardar"));
    int asked_first = 0;
    ModalAnswer<QFileDialog> choose([&](QFileDialog& dialog) {
        asked_first = discard.seen();
        // Typed into the name box as a person would: selectFile() leaves the box alone once
        // it has the focus, and the list's selection waits for the folder to be read.
        dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        static_cast<QDialog&>(dialog).accept();  // public there
    });
    QString report;
    ModalAnswer<QDialog> close_report([&](QDialog& dialog) {
        if (auto* lines = dialog.findChild<QPlainTextEdit*>(QStringLiteral("findings"))) {
            report = dialog.windowTitle() + ": " + lines->toPlainText();
            dialog.reject();
        }
    });
    for (QAction* item : window.menuBar()->actions().front()->menu()->actions()) {
        if (item->text() == QStringLiteral("&Importar storyboard..."))
            item->trigger();
    }
    QCOMPARE(asked_first, 1);
    QVERIFY2(report.startsWith("Importar storyboard: ") && report.endsWith("[Info] no se toma: "
                                                                           "la ventana no tiene "
                                                                           "dónde guardarla."),
             qPrintable(report));
    QCOMPARE(window.editor().form().window().text(ControlId::ndees), "2");
    QCOMPARE(window.windowTitle(), kCaption + "[*]");
    QVERIFY(window.isWindowModified());
}

// A window killed after an edit has left its recovery copy; a new window offers it, and the
// session it recovers is the one the killed window held.
void MainWindowTest::recoveryAfterKill() {
    QProcess child;
    child.start(QStringLiteral(TAVRIX_RECOVERY_CHILD), {});
    QByteArray dump;
    while (!dump.endsWith('\n') && child.waitForReadyRead(20000))
        dump += child.readAllStandardOutput();
    QVERIFY2(dump.endsWith('\n'), child.readAllStandardError().constData());
    const QString copy = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                         "/sesion-sin-guardar-" + QString::number(child.processId()) + ".tavrix";
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(copy), 10000);
    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    QVERIFY(child.waitForFinished());

    MainWindow window;
    window.show();
    ButtonAnswer recover(QStringLiteral("Recuperar"));
    window.start({});
    QCOMPARE(recover.seen(), 1);
    QVERIFY2(recover.text.startsWith("Se encontró una sesión sin guardar del ") &&
                 recover.text.endsWith(". ¿Recuperarla?"),
             qPrintable(recover.text));
    QCOMPARE(tavrix::script::dump_json(window.editor().form()), dump.trimmed().toStdString());
    QVERIFY(window.isWindowModified());
    QVERIFY(!QFile::exists(copy));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
