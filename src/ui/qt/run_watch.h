// Watches a "Generar!" run from the core's progress hook. A run that lasts longer than a
// moment gets a modal dialog with the frames and bytes written so far and a "Cancelar"
// button; the dialog is modal so that no other edit reaches the model while the run is
// still inside it.
#pragma once

#include <QElapsedTimer>
#include <QPointer>

#include "storyboard/writer.h"

class QProgressDialog;
class QWidget;

namespace tavrix::qt {

class RunWatch {
  public:
    explicit RunWatch(QWidget& owner) : owner_(owner) {}
    RunWatch(const RunWatch&) = delete;
    RunWatch& operator=(const RunWatch&) = delete;
    ~RunWatch() { finish(); }

    void start();
    // Returns false when the person cancelled.
    bool keep_going(const RunProgress& progress);
    void finish();

  private:
    void show_progress(const RunProgress& progress);

    QWidget& owner_;
    QElapsedTimer since_start_;
    QElapsedTimer since_refresh_;
    QPointer<QProgressDialog> dialog_;
};

}  // namespace tavrix::qt
