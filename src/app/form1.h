// The window Form1 without a screen: its controls, the scene store, the tick total, the
// start-up step and the handlers of every event. A screen, a script or a test drives it
// with a person's actions and mirrors what changed through the property observer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_context.h"
#include "model/window.h"
#include "session/session.h"
#include "store/scene_store.h"
#include "storyboard/writer.h"
#include "system/platform.h"

namespace tavrix {

// The push button "Generar!", which writes the storyboard file.
inline constexpr ControlId kGenerateButton = ControlId::Command1;

// The button's caption, where the windows name the same action elsewhere: the title of a
// long run's progress, and the "Archivo" menu item.
[[nodiscard]] std::string_view generate_caption();

// Whether a person could perform an action, and why not.
enum class [[nodiscard]] ActionStatus : std::uint8_t{Done,         NotATextBox, ReadOnly,
                                                     NotClickable, Unreachable, TooLong};
std::string_view describe(ActionStatus status);

// Why a session could not be saved or opened, as the window says it: what failed, the file
// and the reason, in Spanish.
struct SessionFailure {
    std::string message;
};

class Form1 final : private EventSink {
  public:
    explicit Form1(Platform platform);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    const Window& window() const { return window_; }
    const Platform& platform() const { return platform_; }
    const SceneStore& store() const { return store_; }
    std::int32_t tick_total() const { return tick_total_; }

    // A person's actions: replacing the whole text of a text box (typing, pasting), and
    // clicking a check box or pressing a push button. Disabled or hidden controls refuse, and
    // so does a text box given more than kFieldTextLimit characters.
    ActionStatus type_text(ControlId id, std::string_view text);
    ActionStatus click(ControlId id);

    // "Archivo listo para el motor", a session option: "Generar!" also writes the scene's
    // length and the key that points at the masked background. Off at start-up.
    bool engine_ready() const { return engine_ready_; }
    void set_engine_ready(bool on) { engine_ready_ = on; }

    // Shows scene and animation `at` as the arrows bring them up: both captions, then the
    // scene reload.
    void bring_up(Position at);

    // "Generar storyboard completo": every scene of the store into one file at `path`,
    // replaced only by a complete new one. Nothing on screen or in the store changes. Two
    // scenes that play one action number with different frames are refused, and a failure
    // names the scene and the animation.
    [[nodiscard]] RunResult export_storyboard(std::string_view path);
    // The same into the file in "Nombre del archivo:", as the windows' menu item writes it.
    [[nodiscard]] RunResult export_storyboard() { return export_storyboard(path()); }
    // "Nombre del archivo:", where both runs write.
    [[nodiscard]] std::string_view path() const;
    // What a window asks before an export that would be a very long run (nothing when not).
    [[nodiscard]] std::optional<std::string> long_export_question() const;

    // "Importar storyboard...": replaces the window's work by the storyboard file at `path`,
    // typed in as a person would (see type_storyboard), with "Nombre del archivo:" and the
    // options kept; gives a line for each thing of the file that the window could not take.
    // A file that cannot be read, or is no storyboard, changes nothing: the message says why.
    [[nodiscard]] Expected<std::vector<std::string>, std::string> import_storyboard(
        std::string_view path);

    // "Comprobar": why an engine would not play the file that "Generar!" would write now,
    // or with several scenes the one that "Generar storyboard completo" would write; empty
    // when nothing stands in the way.
    [[nodiscard]] std::vector<std::string> check() const;

    // The whole session as it stands: what the dump shows and a session file holds.
    [[nodiscard]] Session snapshot() const;
    // Whether the window holds exactly `session`; cheaper than comparing a snapshot.
    [[nodiscard]] bool holds(const Session& session) const;
    // Puts the window back as `session` shows it: no change or toggle rule runs and no
    // storyboard is written; the observer hears every property that changes.
    void restore(Session session);

    // The session file at `path`, replaced only by a complete new one, as "Generar!"
    // replaces its file; and a session file read and checked whole before anything changes.
    Status<SessionFailure> save_session(std::string_view path) const;
    Status<SessionFailure> open_session(std::string_view path);

    // The result of the latest "Generar!"; nothing before the first.
    const std::optional<RunResult>& last_run() const { return last_run_; }

    void set_observer(PropertyObserver observer) { window_.set_observer(std::move(observer)); }
    void set_progress_hook(ProgressHook hook) { progress_ = std::move(hook); }
    // A "Generar!" of more frames fails before it writes anything (0: no limit).
    void set_frame_limit(std::uint64_t frames) { frame_limit_ = frames; }

    // How long "Generar!" would be with the fields as they stand, and what a window asks
    // before it when it would be a very long one (nothing when not).
    [[nodiscard]] RunSize run_size() const;
    [[nodiscard]] std::optional<std::string> long_run_question() const;

  private:
    void on_change(ControlId id) override;
    void on_click(ControlId id) override;

    void Form_Load();
    void Command1_Click();
    EditorContext editor() { return EditorContext{window_, store_, hold_}; }

    Platform platform_;
    Window window_;
    SceneStore store_;
    EstaticoHold hold_;
    std::int32_t tick_total_ = 0;
    bool engine_ready_ = false;
    std::optional<RunResult> last_run_;
    ProgressHook progress_;
    std::uint64_t frame_limit_ = 0;
};

// The credits shown in Label9: three lines joined by a lone carriage return, each short
// enough for the part of the label inside the window (230 pixels at 96 dots per inch).
inline constexpr std::string_view kCreditsLines[3] = {
    "Código: autor@tavrix.invalid",
    "Diseño: coautora@tavrix.invalid",
    "https://tavrix.invalid",
};

}  // namespace tavrix
