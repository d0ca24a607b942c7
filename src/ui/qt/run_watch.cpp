#include "ui/qt/run_watch.h"

#include <QApplication>
#include <QProgressDialog>

#include "storyboard/messages.h"
#include "ui/qt/model_text.h"

namespace tavrix::qt {
namespace {

// A run shorter than this ends before any dialog appears: flashing one would only distract.
constexpr qint64 kQuietMs = 500;
// Redrawing the dialog after every block would slow a fast disk down for nothing.
constexpr qint64 kRefreshMs = 50;

QString shown_progress(const RunProgress& progress) {
    return QString::fromStdString(progress_text(progress));
}

}  // namespace

void RunWatch::start(std::string_view title) {
    finish();
    title_ = from_model(title);
    since_start_.start();
    since_refresh_.invalidate();
}

bool RunWatch::keep_going(const RunProgress& progress) {
    if (!dialog_ && since_start_.elapsed() < kQuietMs)
        return true;
    if (!since_refresh_.isValid() || since_refresh_.elapsed() >= kRefreshMs) {
        show_progress(progress);
        // The dialog is modal, so only its own button and window get these events; nothing
        // reaches the model while the run is still inside it.
        QApplication::processEvents();
        since_refresh_.restart();
    }
    return !(dialog_ && dialog_->wasCanceled());
}

void RunWatch::finish() {
    if (!dialog_)
        return;
    dialog_->hide();
    dialog_->deleteLater();
    dialog_ = nullptr;
}

void RunWatch::show_progress(const RunProgress& progress) {
    if (!dialog_) {
        dialog_ = new QProgressDialog(&owner_);
        dialog_->setWindowTitle(title_);
        dialog_->setCancelButtonText(from_model(kCancelButton));
        dialog_->setRange(0, 0);  // the length of a run is not known beforehand
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setModal(true);
        dialog_->show();
    }
    dialog_->setLabelText(shown_progress(progress));
}

}  // namespace tavrix::qt
