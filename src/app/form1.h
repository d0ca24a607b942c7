// The window Form1 without a screen: its controls, the scene store, the tick total, the
// start-up step and the handlers of every event. A screen, a script or a test drives it
// with a person's actions and mirrors what changed through the property observer.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "app/window.h"
#include "editor/editor_context.h"
#include "store/scene_store.h"
#include "storyboard/generator.h"
#include "storyboard/output.h"

namespace tavrix {

// What the window needs of the system it runs on: where files go and in which code page.
struct Platform {
    OutputFactory open_output;
    Encoder encode;
};

// Why a person could not perform an action.
enum class ActionError : std::uint8_t { NotATextBox, NotClickable, Unreachable };
std::string_view describe(ActionError error);

class Form1 final : private EventSink {
  public:
    explicit Form1(Platform platform);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    const Window& window() const { return window_; }
    const SceneStore& store() const { return store_; }
    std::int32_t tick_total() const { return tick_total_; }

    // A person's actions: replacing the whole text of a text box (typing, pasting), and
    // clicking a check box or pressing a push button. Disabled or hidden controls refuse.
    std::optional<ActionError> type_text(ControlId id, std::string_view text);
    std::optional<ActionError> click(ControlId id);

    // The outcome of the latest "Generar!": nothing when it succeeded.
    const std::optional<RunFailure>& last_run_failure() const { return last_run_failure_; }

    void set_observer(PropertyObserver observer) { window_.set_observer(std::move(observer)); }
    void set_progress_hook(ProgressHook hook) { progress_ = std::move(hook); }

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
    std::optional<RunFailure> last_run_failure_;
    ProgressHook progress_;
};

// The credits shown in Label9: three lines joined by a lone carriage return.
inline constexpr std::string_view kCreditsLines[3] = {
    "Programación: el autor principal <autor@tavrix.invalid>",
    "Diseño y pruebas: la coautora <coautora@tavrix.invalid>",
    "https://tavrix.invalid",
};

}  // namespace tavrix
