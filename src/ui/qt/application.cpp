#include "ui/qt/application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tavrix::qt {
namespace {

// The layout is absolute, in pixels: a compact sans font keeps every caption inside its
// label whatever the desktop's own font is. Pixel sizes still scale on high-DPI screens.
constexpr int kFontPixels = 11;

void speak_spanish(QApplication& app) {
    const QLocale spanish(QLocale::Spanish, QLocale::Spain);
    QLocale::setDefault(spanish);
    // Qt's own texts (the text boxes' context menu, standard buttons) in Spanish too.
    auto* translator = new QTranslator(&app);
    if (translator->load(spanish, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
}

}  // namespace

void prepare_application(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Tavrix"));
    QApplication::setApplicationVersion(QStringLiteral("2.0"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tavrix"));
    // The same look on every desktop: some native styles pad buttons and boxes beyond the
    // sizes the layout gives them.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(kFontPixels);
    QApplication::setFont(font);
    speak_spanish(app);
}

}  // namespace tavrix::qt
