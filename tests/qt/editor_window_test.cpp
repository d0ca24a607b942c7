// The window as a person uses it: real widgets, real key presses and clicks, no display.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <chrono>
#include <memory>
#include <thread>

#include "common/encoding.h"
#include "system/file_output.h"
#include "ui/qt/application.h"
#include "ui/qt/editor_window.h"

using tavrix::ControlId;
using tavrix::qt::EditorWindow;

namespace {

QString name_of(ControlId id) {
    const std::string_view name = tavrix::control_def(id).name;
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// What a widget shows as its text or caption, whatever its kind.
QString shown_text(QWidget* widget) {
    if (auto* box = qobject_cast<QLineEdit*>(widget))
        return box->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(widget))
        return frame->title();
    return {};
}

// Makes every block of a run take a little while, so that a run of a few megabytes lasts
// long enough to show the progress dialog, yet ends on its own should cancelling fail.
class SlowOutput final : public tavrix::Output {
  public:
    SlowOutput() : inner_(tavrix::make_file_output()) {}
    tavrix::IoStatus open(std::string_view path) override { return inner_->open(path); }
    tavrix::IoStatus write(std::string_view bytes) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        return inner_->write(bytes);
    }
    tavrix::IoStatus commit() override { return inner_->commit(); }
    void abandon() noexcept override { inner_->abandon(); }

  private:
    std::unique_ptr<tavrix::Output> inner_;
};

// Answers the next modal window of type T, from inside the event loop it runs.
template <typename T>
class ModalAnswer {
  public:
    explicit ModalAnswer(std::function<void(T&)> answer) : answer_(std::move(answer)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget()); modal) {
                ++seen_;
                answer_(*modal);
            }
        });
        poll_.start(20);
    }
    int seen() const { return seen_; }

  private:
    std::function<void(T&)> answer_;
    QTimer poll_;
    int seen_ = 0;
};

}  // namespace

class EditorWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { tavrix::qt::prepare_application(*qApp); }
    void init() {
        window_ = std::make_unique<EditorWindow>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void geometry_data();
    void geometry();
    void stacking_data();
    void stacking();
    void tabWalk_data();
    void tabWalk();
    void typing_data();
    void typing();
    void estatico_data();
    void estatico();
    void optionBoxes_data();
    void optionBoxes();
    void arrowsReload_data();
    void arrowsReload();
    void generateWritesFile();
    void failedRunShowsMessage_data();
    void failedRunShowsMessage();
    void longRunCanBeCancelled();
    void veryLongRunIsAskedAbout();

  private:
    QWidget* w(const char* name) const {
        return window_->widget(tavrix::find_control(name).value());
    }
    template <typename T>
    T* as(const char* name) const {
        return qobject_cast<T*>(w(name));
    }
    QString model_text(const char* name) const {
        return QString::fromStdString(
            window_->form().window().text(tavrix::find_control(name).value()));
    }
    void type(const char* name, const QString& keys) {
        QLineEdit* box = as<QLineEdit>(name);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, keys);
    }
    void click(const char* name) { QTest::mouseClick(w(name), Qt::LeftButton); }
    QByteArray generate_to(const QString& path) {
        type("Text11", path);
        click("Command1");
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<EditorWindow> window_;
};

void EditorWindowTest::geometry_data() {
    QTest::addColumn<int>("control");
    for (const tavrix::ControlDef& def : tavrix::control_table())
        QTest::newRow(qPrintable(name_of(def.id))) << static_cast<int>(def.id);
}

// Every widget stands where the table puts it, in its container, as the kind of widget the
// table names, and starts out showing what the model shows.
void EditorWindowTest::geometry() {
    QFETCH(int, control);
    const auto id = static_cast<ControlId>(control);
    const tavrix::ControlDef& def = tavrix::control_def(id);
    QWidget* shown = window_->widget(id);
    QCOMPARE(shown->objectName(), name_of(id));
    QCOMPARE(shown->geometry(), QRect(def.place.left / 15, def.place.top / 15, def.place.width / 15,
                                      def.place.height / 15));
    QWidget* container = def.container ? window_->widget(*def.container) : window_.get();
    QCOMPARE(shown->parentWidget(), container);
    QCOMPARE(shown->toolTip(), QString::fromUtf8(def.tooltip.data(), def.tooltip.size()));

    constexpr const char* kClass[] = {"QLabel", "QLineEdit", "QCheckBox", "QPushButton",
                                      "QGroupBox"};
    QCOMPARE(shown->metaObject()->className(), kClass[static_cast<int>(def.kind)]);
    const tavrix::Window& model = window_->form().window();
    QCOMPARE(shown_text(shown), QString::fromStdString(model.text(id)).replace('\r', '\n'));
    QCOMPARE(shown->isEnabled(), model.enabled(id));
    QCOMPARE(shown->isHidden(), !model.visible(id));
    if (auto* check = qobject_cast<QCheckBox*>(shown))
        QCOMPARE(check->isChecked(), model.value(id) == 1);
    QCOMPARE(window_->windowTitle(), QStringLiteral("Tavrix v2.0 -= BETA =-"));
    QCOMPARE(window_->size(), QSize(630, 575));
}

void EditorWindowTest::stacking_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("seenThere");
    QTest::newRow("Command3 above Frame1") << "Command3"
                                           << "Command3";
    QTest::newRow("Text26 above Frame2") << "Text26"
                                         << "Text26";
    QTest::newRow("Text27 above Frame2") << "Text27"
                                         << "Text27";
    QTest::newRow("Label33 under the mask frame") << "Label33"
                                                  << "Text22";
    QTest::newRow("Check6 on the fade title") << "Check6"
                                              << "Check6";
}

// What a person sees at the middle of a control: the control itself, or what covers it.
void EditorWindowTest::stacking() {
    QFETCH(QString, control);
    QFETCH(QString, seenThere);
    QWidget* shown = w(qPrintable(control));
    const QPoint middle = shown->mapTo(window_.get(), shown->rect().center());
    QWidget* top = window_->childAt(middle);
    QVERIFY(top);
    QCOMPARE(top->objectName(), seenThere);
}

void EditorWindowTest::tabWalk_data() {
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QStringList>("walk");
    const QStringList head{"Text1", "Text2", "Text3", "Text7", "Text8",
                           "Text4", "Text5", "Text6", "Text9"};
    const QStringList checks{"Check1", "Check2", "Check3", "Check4", "Check5", "Command1",
                             "Text11", "ndees",  "Text12", "botant", "botsig"};
    const QStringList layer{"rojo",   "verde",  "azul",   "Text16",   "Text17",  "Text18",
                            "Text19", "Check6", "Check7", "Command2", "Command3"};
    const QStringList tail{"Check8", "Check9", "ticsI", "tiempoI", "cantA", "Text1"};
    QTest::newRow("at start-up") << QStringList{}
                                 << head + checks + layer + QStringList{"Text15", "Text20"} + tail;
    QTest::newRow("speed range moving")
        << QStringList{"Check5"}
        << head + QStringList{"Text10"} + checks + layer + QStringList{"Text15", "Text20"} + tail;
    QTest::newRow("fade on") << QStringList{"Check6"}
                             << head + checks + QStringList{"ttika", "tikdd"} + layer +
                                    QStringList{"Text15", "Text20", "Text25", "Text26", "Text27"} +
                                    tail;
}

// Tab from Text1 visits the focus order, passing over what is disabled or hidden.
void EditorWindowTest::tabWalk() {
    QFETCH(QStringList, ticked);
    QFETCH(QStringList, walk);
    for (const QString& box : ticked)
        click(qPrintable(box));
    w("Text1")->setFocus();
    QCOMPARE(QApplication::focusWidget(), w("Text1"));
    QStringList visited{"Text1"};
    while (visited.size() < walk.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, walk);
}

void EditorWindowTest::typing_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain: a lone minus") << "rojo"
                                         << "-"
                                         << "0";
    // The write-back leaves the caret at the end, so the 7 follows the 0.
    QTest::newRow("plain: minus then 7") << "rojo"
                                         << "-7"
                                         << "07";
    QTest::newRow("plain: emptied") << "rojo"
                                    << "\b"
                                    << "0";
    QTest::newRow("plain: tail kept") << "verde"
                                      << "12abc"
                                      << "12abc";
    QTest::newRow("signed: a lone minus") << "Text17"
                                          << "-"
                                          << "-";
    QTest::newRow("signed: minus 7") << "Text17"
                                     << "-7"
                                     << "-7";
    QTest::newRow("range: minus 3") << "Text3"
                                    << "-3"
                                    << "-3";
    QTest::newRow("scene count: ceiling") << "ndees"
                                          << "15"
                                          << "9";
    QTest::newRow("free text") << "cantA"
                               << "-x"
                               << "-x";
}

void EditorWindowTest::typing() {
    QFETCH(QString, field);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    const QByteArray name = field.toLatin1();
    type(name.constData(), keys);
    QLineEdit* box = as<QLineEdit>(name.constData());
    QCOMPARE(box->text(), shown);
    QCOMPARE(model_text(name.constData()), shown);
    QCOMPARE(box->cursorPosition(), shown.size());
}

void EditorWindowTest::estatico_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("Grupo") << "Check1"
                           << "Text1"
                           << "Text4";
    QTest::newRow("Imagen") << "Check2"
                            << "Text2"
                            << "Text5";
    QTest::newRow("X") << "Check3"
                       << "Text3"
                       << "Text6";
    QTest::newRow("Y") << "Check4"
                       << "Text7"
                       << "Text9";
    QTest::newRow("Velocidad") << "Check5"
                               << "Text8"
                               << "Text10";
}

// Ticking hides the "Hasta:" box and copies the "Desde:" text into it, which then follows
// every edit; clearing shows it again with the text it has.
void EditorWindowTest::estatico() {
    QFETCH(QString, box);
    QFETCH(QString, from);
    QFETCH(QString, to);
    const QByteArray b = box.toLatin1(), f = from.toLatin1(), t = to.toLatin1();
    QCheckBox* check = as<QCheckBox>(b.constData());
    if (check->isChecked())
        click(b.constData());
    QVERIFY(!check->isChecked());
    QVERIFY(w(t.constData())->isVisible());
    type(t.constData(), "9");
    type(f.constData(), "5");
    QCOMPARE(as<QLineEdit>(t.constData())->text(), QStringLiteral("9"));

    click(b.constData());
    QVERIFY(check->isChecked());
    QVERIFY(!w(t.constData())->isVisible());
    QCOMPARE(as<QLineEdit>(t.constData())->text(), QStringLiteral("5"));
    type(f.constData(), "8");
    QCOMPARE(as<QLineEdit>(t.constData())->text(), QStringLiteral("8"));
    QCOMPARE(model_text(t.constData()), QStringLiteral("8"));

    click(b.constData());
    QVERIFY(!check->isChecked());
    QVERIFY(w(t.constData())->isVisible());
    QCOMPARE(as<QLineEdit>(t.constData())->text(), QStringLiteral("8"));
}

void EditorWindowTest::optionBoxes_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("group");
    QTest::newRow("Fade") << "Check6" << QStringList{"tikdea",  "ttika",  "tikdedes", "tikdd",
                                                     "Label35", "Text25", "Text26",   "Text27"};
    QTest::newRow("Sonido") << "Check7" << QStringList{"soundfile", "Label26", "Text14"};
    QTest::newRow("Máscara") << "Check8" << QStringList{"Label30", "Text24",  "Label29", "Text23",
                                                        "Text22",  "Label27", "Text21"};
    QTest::newRow("Escena inicial") << "Check9" << QStringList{"Label17", "Text13"};
}

// A group box enables its group when ticked and disables it when cleared; no other widget
// changes.
void EditorWindowTest::optionBoxes() {
    QFETCH(QString, box);
    QFETCH(QStringList, group);
    const QByteArray name = box.toLatin1();
    std::array<bool, tavrix::kControlCount> before{};
    for (const tavrix::ControlDef& def : tavrix::control_table())
        before[tavrix::index_of(def.id)] = window_->widget(def.id)->isEnabled();

    for (const bool ticked : {true, false}) {
        click(name.constData());
        QCOMPARE(as<QCheckBox>(name.constData())->isChecked(), ticked);
        for (const tavrix::ControlDef& def : tavrix::control_table()) {
            const bool in_group = group.contains(name_of(def.id));
            const bool expected = in_group ? ticked : before[tavrix::index_of(def.id)];
            QVERIFY2(window_->widget(def.id)->isEnabled() == expected, qPrintable(name_of(def.id)));
            QCOMPARE(window_->form().window().enabled(def.id), expected);
        }
    }
}

void EditorWindowTest::arrowsReload_data() {
    QTest::addColumn<QString>("forward");
    QTest::addColumn<QString>("back");
    QTest::addColumn<QString>("counter");
    QTest::addColumn<QString>("rojoElsewhere");
    QTest::addColumn<bool>("staticElsewhere");  // the "Estático" boxes are kept per scene
    QTest::newRow("scenes") << QStringLiteral("botsig") << QStringLiteral("botant")
                            << QStringLiteral("Escena") << QStringLiteral("0") << false;
    QTest::newRow("animations") << QStringLiteral("Command2") << QStringLiteral("Command3")
                                << QStringLiteral("nroAnim") << QStringLiteral("7") << true;
}

// The arrows step the scene or animation and reload every widget from the store.
void EditorWindowTest::arrowsReload() {
    QFETCH(QString, forward);
    QFETCH(QString, back);
    QFETCH(QString, counter);
    QFETCH(QString, rojoElsewhere);
    QFETCH(bool, staticElsewhere);
    const QByteArray f = forward.toLatin1(), b = back.toLatin1(), c = counter.toLatin1();
    type("ndees", "3");
    type("cantA", "2");
    type("rojo", "7");
    type("Text1", "3");
    click("Check1");  // Text4 follows Text1 while hidden

    click(f.constData());
    QCOMPARE(as<QLabel>(c.constData())->text(), QStringLiteral("1"));
    QCOMPARE(as<QLineEdit>("rojo")->text(), rojoElsewhere);
    QCOMPARE(as<QLineEdit>("Text1")->text(), QStringLiteral("0"));
    QCOMPARE(as<QLineEdit>("Text4")->text(), QStringLiteral("0"));
    QCOMPARE(as<QCheckBox>("Check1")->isChecked(), staticElsewhere);
    QCOMPARE(w("Text4")->isVisible(), !staticElsewhere);

    click(b.constData());
    QCOMPARE(as<QLabel>(c.constData())->text(), QStringLiteral("0"));
    QCOMPARE(as<QLineEdit>("rojo")->text(), QStringLiteral("7"));
    QCOMPARE(as<QLineEdit>("Text1")->text(), QStringLiteral("3"));
    QCOMPARE(as<QLineEdit>("Text4")->text(), QStringLiteral("3"));
    QVERIFY(as<QCheckBox>("Check1")->isChecked());
    QVERIFY(!w("Text4")->isVisible());
}

// Group 0 to 0, image 0 to 3, X 10 to 7, Y 0, speed 15: four frames, 60 ticks, time 1.
void EditorWindowTest::generateWritesFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    type("Text5", "3");
    type("Text3", "10");
    type("Text6", "7");
    type("Text8", "15");
    const QByteArray written = generate_to(dir.filePath("intro.def"));
    QVERIFY(written.contains("0,0, 10,0, 15\r\n0,1, 9,0, 15\r\n0,2, 8,0, 15\r\n0,3, 7,0, 15\r\n"));
    QVERIFY(written.contains("[Begin action "));
    QCOMPARE(as<QLineEdit>("ticsI")->text(), QStringLiteral("60"));
    QCOMPARE(as<QLineEdit>("tiempoI")->text(), QStringLiteral("1"));
}

void EditorWindowTest::failedRunShowsMessage_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named");
    QTest::newRow("missing folder") << "Text11"
                                    << "{dir}/falta/intro.def"
                                    << "falta";
    QTest::newRow("image that cannot step") << "Text2"
                                            << "1x"
                                            << "Text2";
}

// A failing run names its cause in a message box; the earlier file and the result boxes
// stay as they were.
void EditorWindowTest::failedRunShowsMessage() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, named);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    type("Text5", "3");
    const QString path = dir.filePath("intro.def");
    const QByteArray earlier = generate_to(path);
    QVERIFY(!earlier.isEmpty());
    const QString tics = as<QLineEdit>("ticsI")->text();
    const QString time = as<QLineEdit>("tiempoI")->text();

    type(qPrintable(field), QString(text).replace("{dir}", dir.path()));
    QString message;
    ModalAnswer<QMessageBox> answer([&message](QMessageBox& box) {
        message = box.text();
        QCOMPARE(box.buttons().size(), 1);
        QCOMPARE(box.buttons().front()->text(), QStringLiteral("Aceptar"));
        box.buttons().front()->click();
    });
    click("Command1");
    QCOMPARE(answer.seen(), 1);
    QVERIFY2(message.contains(named), qPrintable(message));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), earlier);
    QCOMPARE(as<QLineEdit>("ticsI")->text(), tics);
    QCOMPARE(as<QLineEdit>("tiempoI")->text(), time);
}

// A long run shows its progress; "Cancelar" ends it without a message and the earlier file
// stays as it was.
void EditorWindowTest::longRunCanBeCancelled() {
    window_ = std::make_unique<EditorWindow>(tavrix::Platform{
        [] { return std::make_unique<SlowOutput>(); }, tavrix::append_windows_1252});
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("intro.def");
    const QByteArray earlier = generate_to(path);
    QVERIFY(!earlier.isEmpty());

    type("Text6", "10000000");  // ten million frames: far more than half a second
    QString shown;
    ModalAnswer<QProgressDialog> cancel([&shown](QProgressDialog& dialog) {
        shown = dialog.labelText();
        auto* button = dialog.findChild<QPushButton*>();
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("Cancelar"));
        button->click();
    });
    ModalAnswer<QMessageBox> message([](QMessageBox& box) { box.reject(); });
    click("Command1");
    QVERIFY(cancel.seen() >= 1);
    QVERIFY2(shown.contains("Cuadros:") && shown.contains("Bytes escritos:"), qPrintable(shown));
    QCOMPARE(message.seen(), 0);
    QVERIFY(!QApplication::activeModalWidget());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), earlier);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"intro.def"});
}

// A run of more than 100 million frames is asked about first: "No" leaves everything as it
// was, "Sí" starts the run (which "Cancelar" ends here).
void EditorWindowTest::veryLongRunIsAskedAbout() {
    window_ = std::make_unique<EditorWindow>(tavrix::Platform{
        [] { return std::make_unique<SlowOutput>(); }, tavrix::append_windows_1252});
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("intro.def");
    const QByteArray earlier = generate_to(path);
    type("Text6", "999999999");
    for (const QString& answer : {QStringLiteral("No"), QStringLiteral("Sí")}) {
        QString asked;
        ModalAnswer<QMessageBox> question([&](QMessageBox& box) {
            asked = box.text();
            for (QAbstractButton* button : box.buttons()) {
                if (button->text() == answer)
                    button->click();
            }
        });
        ModalAnswer<QProgressDialog> cancel([](QProgressDialog& dialog) { dialog.cancel(); });
        click("Command1");
        QCOMPARE(asked, QStringLiteral(
                            "Se van a escribir 1.000.000.000 cuadros (unos 20,9 GB). ¿Continuar?"));
        QCOMPARE(cancel.seen() > 0, answer == QStringLiteral("Sí"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), earlier);
        QCOMPARE(as<QLineEdit>("ticsI")->text(), QStringLiteral("0"));
    }
}

QTEST_MAIN(EditorWindowTest)
#include "editor_window_test.moc"
