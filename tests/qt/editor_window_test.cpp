// The window as a person uses it: real widgets, real key presses and clicks, no display.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <chrono>
#include <memory>
#include <thread>

#include "common/encoding.h"
#include "model/names.h"
#include "person.h"
#include "support/layout_check.h"
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

// Keys typed, or a text pasted with Ctrl+V, into a field: the field and the model keep what
// the rule keeps of it. A paste keeps what the Win32 edit keeps (measured under Wine), at
// the caret. A text the rule wrote back is selected from its first character; otherwise the
// caret stands after what was typed or pasted.
struct Edit {
    const char* name;
    const char* field;
    QString before;  // typed first, the caret then put at `caret`; else the text is selected
    int caret;
    QString input;
    bool paste;
    QString kept;
};
const Edit kEdits[] = {
    // The rule's "0" is selected, so the next key replaces it.
    {"plain: minus then 7", "rojo", "", 0, "-7", false, "7"},
    {"zero rule: emptied then 5", "Text16", "", 0, "\b5", false, "5"},
    {"plain: emptied", "rojo", "", 0, "\b", false, "0"},
    {"scene count: ceiling", "ndees", "", 0, "15", false, "9"},
    {"paste up to the line break", "Text12", "", 0, "a.sff\r\n\r\n[Scene 7]\r\nfadein.time = 999",
     true, "a.sff"},
    {"paste: one CR before the LF goes", "Text12", "", 0, "a\r\r\nb", true, "a\r"},
    {"paste: a lone CR stays", "Text12", "", 0, "a\rb\t", true, "a\rb\t"},
    {"paste up to a NUL", "Text12", "", 0, QString::fromUtf8("a\0b", 3), true, "a"},
    {"paste at the caret", "Text12", "xyz", 1, "AB\nCD", true, "xAByz"},
    {"paste past Qt's own limit", "Text12", "", 0, QString(32768, u'7'), true,
     QString(32768, u'7')},
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

    void widgetsShowTheModel_data();
    void widgetsShowTheModel();
    void layoutMatchesTheTable();
    void editing_data();
    void editing();
    void enterPressesAFocusedButton();
    void captionsFit();
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
    void type(const char* name, const QString& keys) { type_over(w(name), keys); }
    void click(const char* name) { QTest::mouseClick(w(name), Qt::LeftButton); }
    // A window whose file layer writes slowly, so that a run lasts long enough to be seen.
    void show_slow_window() {
        window_ = std::make_unique<EditorWindow>(tavrix::Platform{
            [] { return std::make_unique<SlowOutput>(); }, tavrix::append_windows_1252});
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    // What the file in the test's folder holds; nothing when it cannot be read.
    QByteArray file_bytes() const { return read_all(path_); }
    // "Generar!" into the test's folder, and what the file holds then.
    QByteArray generate() {
        type("Text11", path_);
        click("Command1");
        return file_bytes();
    }

    std::unique_ptr<EditorWindow> window_;
    QTemporaryDir dir_;
    const QString path_ = dir_.filePath("intro.def");
};

void EditorWindowTest::widgetsShowTheModel_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::newRow("at start-up") << QStringList{};
    QTest::newRow("boxes ticked") << QStringList{"Check1", "Check5", "Check6", "Check7", "Check9"};
    QTest::newRow("after a reload") << QStringList{"Check1", "Check8", "botsig", "Command2"};
}

// After start-up and after clicks, ticks and reloads, every widget shows what the model
// holds, in its container, as the kind of widget the control is.
void EditorWindowTest::widgetsShowTheModel() {
    QFETCH(QStringList, clicks);
    type("ndees", "3");
    type("cantA", "2");
    type("Text1", "4");
    for (const QString& name : clicks)
        click(qPrintable(name));
    const tavrix::Window& model = window_->form().window();
    QSet<QString> names;  // what assistive tools read: one for each control that takes focus
    for (const tavrix::ControlDef& def : tavrix::control_table()) {
        QWidget* shown = window_->widget(def.id);
        QCOMPARE(shown->objectName(), name_of(def.id));
        QCOMPARE(shown->accessibleName().toStdString(), tavrix::control_name(def.id));
        if (def.kind != tavrix::Kind::Label && def.kind != tavrix::Kind::Frame) {
            QVERIFY2(!shown->accessibleName().isEmpty() && !names.contains(shown->accessibleName()),
                     qPrintable(name_of(def.id)));
            names.insert(shown->accessibleName());
        }
        if (const auto label = tavrix::label_of(def.id))
            QVERIFY(qobject_cast<QLabel*>(window_->widget(*label))->buddy());
        if (auto* box = qobject_cast<QLineEdit*>(shown))
            QCOMPARE(box->isReadOnly(), def.initially.read_only);
        QWidget* container = def.container ? window_->widget(*def.container) : window_.get();
        QCOMPARE(shown->parentWidget(), container);
        constexpr const char* kClass[] = {"QLabel", "QLineEdit", "QCheckBox", "QPushButton",
                                          "QGroupBox"};
        QCOMPARE(shown->metaObject()->className(), kClass[static_cast<int>(def.kind)]);
        QCOMPARE(shown_text(shown), QString::fromStdString(model.text(def.id)).replace('\r', '\n'));
        QCOMPARE(shown->isEnabled(), model.enabled(def.id));
        QCOMPARE(shown->isHidden(), !model.visible(def.id));
        if (auto* check = qobject_cast<QCheckBox*>(shown))
            QCOMPARE(check->isChecked(), model.value(def.id) == 1);
    }
}

// Every control stands where the control table puts it, and Tab visits the controls in
// table order, passing over what is disabled or hidden.
void EditorWindowTest::layoutMatchesTheTable() {
    click("Check5");
    click("Check6");
    QWidget* const start = QApplication::focusWidget();
    QVERIFY(start);
    tavrix::testing::ShownLayout shown{
        96,
        [this](ControlId id) {
            const QWidget* control = window_->widget(id);
            const QPoint at = control->mapTo(window_.get(), QPoint(0, 0));
            return tavrix::testing::ShownRect{at.x(), at.y(), control->width(), control->height()};
        },
        {},
        [this](ControlId id) { return window_->form().window().reachable(id); }};
    for (QWidget* at = start; shown.walk.empty() || (at != start && shown.walk.size() <= 100);
         at = QApplication::focusWidget()) {
        shown.walk.push_back(tavrix::find_control(at->objectName().toStdString()).value());
        QTest::keyClick(at, Qt::Key_Tab);
    }
    const std::vector<std::string> differences = tavrix::testing::layout_differences(shown);
    QStringList lines;
    for (const std::string& line : differences)
        lines << QString::fromStdString(line);
    QVERIFY2(differences.empty(), qPrintable(lines.join('\n')));
}

void EditorWindowTest::editing_data() {
    QTest::addColumn<int>("row");
    for (const Edit& edit : kEdits)
        QTest::newRow(edit.name) << static_cast<int>(&edit - kEdits);
}

void EditorWindowTest::editing() {
    QFETCH(int, row);
    const Edit& edit = kEdits[row];
    QLineEdit* box = as<QLineEdit>(edit.field);
    type(edit.field, edit.before);
    if (!edit.before.isEmpty())
        box->setCursorPosition(edit.caret);
    if (edit.paste) {
        QGuiApplication::clipboard()->setText(edit.input);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else {
        QTest::keyClicks(box, edit.input);
    }
    QCOMPARE(box->text(), edit.kept);
    QCOMPARE(model_text(edit.field), edit.kept);
    if (box->hasSelectedText())
        QVERIFY(box->selectedText() == edit.kept && box->cursorPosition() == 0);
    else
        QCOMPARE(box->cursorPosition(), edit.kept.size() - (edit.before.size() - edit.caret));
}

void EditorWindowTest::enterPressesAFocusedButton() {
    type("ndees", "2");
    w("botsig")->setFocus();
    QTest::keyClick(w("botsig"), Qt::Key_Return);
    QTRY_COMPARE(as<QLabel>("Escena")->text(), QStringLiteral("1"));
}

// Every caption shows whole: each line fits its control, inside the window, and no control
// declared later (above it) covers it. A check box on a group title shows its box alone, and
// Label33 lies hidden under the mask frame by design.
void EditorWindowTest::captionsFit() {
    const auto place = [this](QWidget* shown) {
        return QRect(shown->mapTo(window_.get(), QPoint(0, 0)), shown->size());
    };
    for (const tavrix::ControlDef& def : tavrix::control_table()) {
        QWidget* shown = window_->widget(def.id);
        const QString text = shown_text(shown);
        if (text.isEmpty() || def.kind == tavrix::Kind::TextBox || def.id == ControlId::Label33 ||
            (def.kind == tavrix::Kind::CheckBox && def.place.width <= 255))
            continue;
        const QFontMetrics metrics(shown->font());
        int widest = 0;
        for (const QString& line : text.split('\n'))
            widest = std::max(widest, metrics.horizontalAdvance(line));
        constexpr int kIndent[] = {0, 0, 20, 6, 8};  // by kind: the box, padding, the frame
        const QRect used(place(shown).topLeft() + QPoint(kIndent[static_cast<int>(def.kind)], 0),
                         QSize(widest, metrics.height()));
        QVERIFY2(place(shown).contains(used) && window_->rect().contains(used),
                 qPrintable(name_of(def.id)));
        for (const tavrix::ControlDef& other : tavrix::control_table()) {
            QWidget* above = window_->widget(other.id);
            QVERIFY2(tavrix::index_of(other.id) <= tavrix::index_of(def.id) ||
                         above->isAncestorOf(shown) || !above->isVisible() ||
                         other.id == ControlId::Label33 || !place(above).intersects(used),
                     qPrintable(name_of(def.id) + " under " + name_of(other.id)));
        }
    }
}

// A failing run names its cause in a message box; the earlier file and the result boxes
// stay as they were.
void EditorWindowTest::failedRunShowsMessage() {
    type("Text5", "3");
    const QByteArray earlier = generate();
    QVERIFY(!earlier.isEmpty());
    QCOMPARE(as<QLineEdit>("tiempoI")->cursorPosition(), 0);  // shown from its first digit
    const QString tics = as<QLineEdit>("ticsI")->text();
    const QString time = as<QLineEdit>("tiempoI")->text();

    type("Text2", "1x");
    QString message;
    ModalAnswer<QMessageBox> answer([&message](QMessageBox& box) {
        message = box.text();
        QCOMPARE(box.icon(), QMessageBox::Critical);
        QCOMPARE(box.buttons().size(), 1);
        QCOMPARE(box.buttons().front()->text(), QStringLiteral("Aceptar"));
        box.buttons().front()->click();
    });
    click("Command1");
    QCOMPARE(answer.seen(), 1);
    QVERIFY2(message.contains("\"1x\"") && message.contains("\"Desde: Imagen\""),
             qPrintable(message));
    QCOMPARE(file_bytes(), earlier);
    QCOMPARE(as<QLineEdit>("ticsI")->text(), tics);
    QCOMPARE(as<QLineEdit>("tiempoI")->text(), time);
}

// A long run shows its progress; "Cancelar" ends it without a message and the earlier file
// stays as it was.
void EditorWindowTest::longRunCanBeCancelled() {
    show_slow_window();
    const QByteArray earlier = generate();
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
    QCOMPARE(file_bytes(), earlier);
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{"intro.def"});
}

// A run of more than 100 million frames is asked about first: "No" leaves everything as it
// was, "Sí" starts the run (which "Cancelar" ends here).
void EditorWindowTest::veryLongRunIsAskedAbout() {
    show_slow_window();
    const QByteArray earlier = generate();
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
        QCOMPARE(file_bytes(), earlier);
        QCOMPARE(as<QLineEdit>("ticsI")->text(), QStringLiteral("0"));
    }
}

QTEST_MAIN(EditorWindowTest)
#include "editor_window_test.moc"
