#include "ui/qt/application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "common/version.h"
#include "ui/qt/model_text.h"

#ifdef TAVRIX_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace tavrix::qt {
namespace {

// The layout is absolute, in pixels: a compact sans font keeps every caption inside its
// label whatever the desktop's own font is. Pixel sizes still scale on high-DPI screens.
constexpr int kFontPixels = 11;

}  // namespace

void name_application() {
    // Lower case, as the program is called: --version prints "tavrix" and the version.
    QCoreApplication::setApplicationName(QStringLiteral("tavrix"));
    QCoreApplication::setApplicationVersion(from_model(kVersion));
}

void speak_spanish(QCoreApplication& app) {
    const QLocale spanish(QLocale::Spanish, QLocale::Spain);
    QLocale::setDefault(spanish);
    // Qt's own texts (the text boxes' context menu, standard buttons) in Spanish too.
    auto* translator = new QTranslator(&app);
    if (translator->load(spanish, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    }
}

void prepare_application(QApplication& app) {
    name_application();
    QGuiApplication::setDesktopFileName(QStringLiteral("tavrix"));
    // Drawn from tavrix.svg (see tavrix.qrc); a PNG needs no image plugin.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tavrix.png")));
    // The same look on every desktop: some native styles pad buttons and boxes beyond the
    // sizes the layout gives them.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(kFontPixels);
    QApplication::setFont(font);
    speak_spanish(app);
}

FontConfigurationLoad::FontConfigurationLoad() {
#ifdef TAVRIX_FONTCONFIG
    // Loading is safe from any thread; Qt's own call later finds it done.
    thread_ = std::jthread([] { (void)FcInit(); });
#endif
}

void FontConfigurationLoad::wait() {
    if (thread_.joinable())
        thread_.join();
}

}  // namespace tavrix::qt
