// Watches a run that writes a storyboard ("Generar!", "Generar storyboard completo") from
// the core's progress hook. A run that lasts longer than a
// moment gets a modal dialog with the frames and bytes written so far and a "Cancelar"
// button; the dialog is modal so that no other edit reaches the model while the run is
// still inside it.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <string_view>

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

    // `title`: the command that runs, which titles the dialog.
    void start(std::string_view title);
    // Returns false when the person cancelled.
    bool keep_going(const RunProgress& progress);
    void finish();

  private:
    void show_progress(const RunProgress& progress);

    QWidget& owner_;
    QElapsedTimer since_start_;
    QElapsedTimer since_refresh_;
    QPointer<QProgressDialog> dialog_;
    QString title_;
};

}  // namespace tavrix::qt
