// The window Form1 on Windows: one child window per control of the table, mirroring the
// model. A person's edit or click goes to the model as that action; the properties the
// model changed in the cascade are then applied to the child windows, and the
// notifications those assignments raise are ignored, since the model already ran them.
#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/form1.h"
#include "app/session_document.h"
#include "app/session_flow.h"
#include "storyboard/messages.h"
#include "ui/win32/dpi.h"
#include "ui/win32/preview_window.h"
#include "ui/win32/progress_window.h"
#include "ui/win32/scrolling.h"

namespace tavrix::win32 {

class MainWindow final : private SessionWindow {
  public:
    explicit MainWindow(HINSTANCE instance);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates and shows the window; false when the system refused.
    bool open(int show_command);

    // Once the window is shown: offers the recovery copy a stopped window left, then opens
    // the session file named, if any.
    void start(const std::optional<std::string>& session_file);

    // Gives the menu's shortcuts and the keyboard messages of the dialog (Tab, Shift+Tab,
    // Space) their meaning.
    bool preprocess(MSG& message);

  private:
    // The properties the model changed since they were last applied, one bit per Property.
    using DirtyBits = std::array<std::uint8_t, kControlCount>;

    template <typename Owner>
    friend LRESULT CALLBACK owned_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);

    void create_controls();
    void name_controls();
    void create_tooltips();
    void apply_dpi(int dpi);
    void focus_first();

    bool on_activate(bool active);  // true when it placed the focus itself
    void move_focus(HWND control);
    void on_command(int identifier, int code);
    void on_menu(int identifier);
    void on_text_changed(ControlId id);
    void on_clicked(ControlId id);
    void generate();
    void export_storyboard();
    // Around a run that writes a storyboard: `title` names it on its progress window; the
    // controls then show its outcome, and `notice` is told once the click or menu returns.
    void start_run(std::string_view title);
    void finish_run(std::optional<Notice> notice);
    bool on_progress(const RunProgress& progress);
    void report_run();

    void on_edited();
    void show_preview();

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

    void mark(ControlId id, Property property);
    void apply_changes();
    void apply_text(ControlId id);
    void apply_flags();
    void apply_regions();

    HWND child(ControlId id) const { return children_[index_of(id)]; }

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HWND last_focus_ = nullptr;
    std::array<HWND, kControlCount> children_{};
    Font font_;
    int dpi_ = kDefaultDpi;
    Scrolling scrolling_;

    Form1 form_;
    SessionDocument document_{form_};
    SessionFlow flow_{document_, *this};
    std::wstring recovery_copy_;  // empty when there is no data folder
    DirtyBits dirty_{};
    HWND typing_in_ = nullptr;  // the box whose edit the rules are answering
    bool applying_ = false;     // notifications from our own assignments are not a person's
    bool generating_ = false;
    bool close_after_run_ = false;
    std::chrono::steady_clock::time_point run_started_;
    std::string_view run_title_;
    std::optional<Notice> report_;  // what the last run tells, until it is shown
    std::unique_ptr<ProgressWindow> progress_;
    std::unique_ptr<PreviewWindow> preview_;  // after form_, which it shows
};

}  // namespace tavrix::win32
