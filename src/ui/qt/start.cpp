#include "ui/qt/start.h"

#include <QApplication>
#include <QImageReader>

#include "ui/qt/application.h"
#include "ui/qt/command_line.h"
#include "ui/qt/main_window.h"

namespace tavrix::qt {

int run_editor(int argc, char** argv, const std::function<void(QWidget&)>& before_show) {
    FontConfigurationLoad fonts;
    QApplication app(argc, argv);
    prepare_application(app);
    // The fonts load on the other core meanwhile. The first frame reads the style's images
    // (the menu bar's arrow, the frames' borders), and reading the first image loads every
    // image format plugin: loaded here, they cost the first frame nothing.
    (void)QImageReader::supportedImageFormats();
    fonts.wait();
    const auto command = read_command_line(app);
    if (const auto* error = std::get_if<UsageError>(&command))
        return report(*error);
    MainWindow window;
    if (before_show)
        before_show(window);
    window.show();
    window.start(std::get<CommandLine>(command).session.value_or(QString()));
    return QApplication::exec();
}

}  // namespace tavrix::qt
