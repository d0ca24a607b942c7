// "Vista previa" as a person uses it: F5 opens it beside the editor, Space plays and
// pauses, Left and Right step one tick, the stage at scale 1 is pixel for pixel what the
// stage composed at the tick shown, and typing into the form shows on it at once.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QtTest>

#include <array>

#include "person.h"
#include "stage/archive_sprites.h"
#include "ui/qt/application.h"
#include "ui/qt/main_window.h"
#include "ui/qt/preview_window.h"
#include "ui/qt/stage_view.h"

using tavrix::ControlId;
using tavrix::qt::MainWindow;
using tavrix::qt::PreviewWindow;

namespace {

template <typename W>
W* part(const PreviewWindow& preview, const char* name) {
    return preview.findChild<W*>(QString::fromLatin1(name));
}

QString shown_tick(const PreviewWindow& preview) {
    return part<QLabel>(preview, "status")->text().section(QStringLiteral(" · "), 0, 0);
}

// What the stage composes at `tick` for the form as it stands.
QImage composed(const tavrix::Form1& form, std::int64_t tick,
                std::array<std::uint8_t, tavrix::kStageBytes>& pixels) {
    tavrix::Preview preview(form,
                            tavrix::archive_sprites_opener(tavrix::system_platform().file_exists));
    preview.seek(tick);
    (void)preview.draw(tavrix::StagePixels(pixels));
    return QImage(pixels.data(), tavrix::kStageWidth, tavrix::kStageHeight, tavrix::kStageWidth * 4,
                  QImage::Format_RGBA8888);
}

QImage painted(const PreviewWindow& preview) {
    return part<tavrix::qt::StageView>(preview, "stage")
        ->grab()
        .toImage()
        .convertToFormat(QImage::Format_RGBA8888);
}

void type(MainWindow& window, ControlId id, const QString& keys) {
    type_over(window.editor().widget(id), keys);
}

}  // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { tavrix::qt::prepare_application(*qApp); }
    void keysAndStage();
};

void PreviewWindowTest::keysAndStage() {
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    type(window, ControlId::rojo, QStringLiteral("200"));  // a red that shows a swapped blue
    type(window, ControlId::Text5, QStringLiteral("3"));
    type(window, ControlId::Text8, QStringLiteral("5"));
    QTest::keyClick(&window, Qt::Key_F5);
    auto* preview = window.findChild<PreviewWindow*>();
    QVERIFY(preview);
    QVERIFY(QTest::qWaitForWindowExposed(preview));
    QCOMPARE(part<tavrix::qt::StageView>(*preview, "stage")->size(), QSize(640, 480));
    QVERIFY(preview->screen()->availableGeometry().contains(preview->frameGeometry()));
    QCOMPARE(shown_tick(*preview), QStringLiteral("Tic 0 de 20"));

    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left})
        QTest::keyClick(preview, key);
    QCOMPARE(shown_tick(*preview), QStringLiteral("Tic 2 de 20"));
    QCOMPARE(part<QSlider>(*preview, "timeline")->value(), 2);
    QTest::keyClick(preview, Qt::Key_Space);
    QCOMPARE(part<QPushButton>(*preview, "play")->text(), QStringLiteral("Pausa"));
    QTest::keyClick(preview, Qt::Key_Space);
    QCOMPARE(part<QPushButton>(*preview, "play")->text(), QStringLiteral("Reproducir"));

    part<QSlider>(*preview, "timeline")->setValue(7);
    part<QComboBox>(*preview, "scale")->setCurrentIndex(0);
    std::array<std::uint8_t, tavrix::kStageBytes> expected{};
    QCOMPARE(painted(*preview), composed(window.editor().form(), 7, expected));
    const QImage before = painted(*preview);
    type(window, ControlId::rojo, QStringLiteral("40"));
    QVERIFY(painted(*preview) != before);
    QCOMPARE(painted(*preview), composed(window.editor().form(), 7, expected));
}

QTEST_MAIN(PreviewWindowTest)
#include "preview_window_test.moc"
