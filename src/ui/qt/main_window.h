// The editor's top-level window: the form, with the "Archivo" menu above it. It keeps the
// session file behind the form: the title names it and marks unsaved changes, closing asks
// before they are lost, and a recovery copy of them is kept in the user's data folder
// while they last, for a new window to offer should this one stop without closing.
#pragma once

#include <QMainWindow>
#include <QTimer>

#include "app/session_document.h"
#include "ui/qt/editor_window.h"

class QFileInfo;

namespace tavrix::qt {

class MainWindow final : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(Platform platform = system_platform(), QWidget* parent = nullptr);

    EditorWindow& editor() const { return *editor_; }

    // After the window is shown: offers the recovery copy a stopped window left, then opens
    // `session_file` unless it is empty.
    void start(const QString& session_file);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void fit_screen();
    void build_menu();
    void show_opened_session();
    void open_session();
    bool save_session();
    bool save_session_as();
    bool settle_file(const Status<SessionFailure>& result);
    bool open_file(const QString& path);
    // Asks whether to save unsaved changes; false when the person would rather stay.
    bool settle_unsaved();

    void on_edited();
    void refresh_title();
    void write_recovery_copy();
    void remove_recovery_copy();
    void offer_recovery();
    bool offer(const QFileInfo& copy);

    EditorWindow* editor_;
    SessionDocument document_;
    QTimer recovery_timer_;
};

}  // namespace tavrix::qt
