// The editor's top-level window: the form, with the menu bar above it. It keeps the
// session file behind the form: the title names it and marks unsaved changes, closing asks
// before they are lost, and a recovery copy of them is kept in the user's data folder
// while they last, for a new window to offer should this one stop without closing.
#pragma once

#include <QMainWindow>
#include <QTimer>

#include "app/menus.h"
#include "app/session_document.h"
#include "app/session_flow.h"
#include "ui/qt/editor_window.h"

namespace tavrix::qt {

class MainWindow final : public QMainWindow, private SessionWindow {
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
    // The menu bar's items as the menu table lists them, each running its command.
    void build_menu();
    void run(MenuCommand command);
    void on_edited();

    // What the session flow asks of the window.
    std::optional<std::string> choose_file(FileChoice kind, const std::string& current) override;
    UnsavedAnswer ask_unsaved(const SessionQuestion& question) override;
    bool ask(const SessionQuestion& question) override;
    void show_failure(const std::string& message) override;
    void show_opened_session() override;
    void show_not_taken(const std::vector<std::string>& lines) override;
    void refresh_title() override;
    void write_recovery_copy() override;
    void remove_recovery_copy() override;
    void remove_file(const std::string& path) override;

    EditorWindow* editor_;
    SessionDocument document_;
    SessionFlow flow_;
    QTimer recovery_timer_;
    QAction* engine_ready_ = nullptr;  // its check mark follows the form's option
};

}  // namespace tavrix::qt
