#include "ui/qt/probes/first_frame.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace tavrix::qt {
namespace {

class FirstFrame final : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Quit from the event loop, once this paint has been flushed to the screen.
            QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool seen_ = false;
};

}  // namespace

void quit_after_first_frame(QWidget& window) {
    window.installEventFilter(new FirstFrame(&window));
}

}  // namespace tavrix::qt
