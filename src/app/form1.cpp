#include "app/form1.h"

#include <string>

#include "app/whole_storyboard.h"
#include "common/encoding.h"
#include "common/numbers.h"
#include "editor/field_rules.h"
#include "editor/navigation.h"
#include "editor/toggle_rules.h"
#include "model/field_text.h"
#include "session/session_file.h"
#include "storyboard/check.h"
#include "storyboard/import.h"
#include "storyboard/messages.h"
#include "storyboard/on_screen.h"
#include "storyboard/shared_actions.h"
#include "storyboard/storyboard_text.h"

namespace tavrix {
namespace {

using C = ControlId;

// What failed, the path in quotes, and why.
SessionFailure session_failure(std::string_view what, std::string_view path,
                               std::string_view reason) {
    std::string message;
    message.reserve(what.size() + path.size() + reason.size() + 4);
    message.append(what).append(" \"").append(path).append("\": ").append(reason);
    return {std::move(message)};
}

}  // namespace

std::string_view generate_caption() {
    return control_def(kGenerateButton).text;
}

std::string_view describe(ActionStatus status) {
    switch (status) {
        case ActionStatus::Done:
            return "";
        case ActionStatus::NotATextBox:
            return "no es un cuadro de texto";
        case ActionStatus::ReadOnly:
            return "es de solo lectura: lo rellena \"Generar!\"";
        case ActionStatus::NotClickable:
            return "no es una casilla ni un botón";
        case ActionStatus::Unreachable:
            return "está deshabilitado u oculto";
        case ActionStatus::TooLong: {
            static const std::string too_long =
                "no admite más de " + grouped_number(kFieldTextLimit) + " caracteres";
            return too_long;
        }
    }
    return "";
}

Form1::Form1(Platform platform) : platform_(std::move(platform)), window_(*this) {
    Form_Load();
}

void Form1::Form_Load() {
    store_.put_startup_zeros();
    window_.set_caption(C::Label9, kCreditsLines[0]);
    window_.set_caption(C::Label9,
                        window_.caption(C::Label9) + "\r" + std::string(kCreditsLines[1]));
    window_.set_caption(C::Label9,
                        window_.caption(C::Label9) + "\r" + std::string(kCreditsLines[2]));
}

ActionStatus Form1::type_text(ControlId id, std::string_view text) {
    if (control_def(id).kind != Kind::TextBox)
        return ActionStatus::NotATextBox;
    if (control_def(id).initially.read_only)
        return ActionStatus::ReadOnly;
    if (!window_.reachable(id))
        return ActionStatus::Unreachable;
    if (!fits_field(text))
        return ActionStatus::TooLong;
    window_.set_text(id, text);
    return ActionStatus::Done;
}

ActionStatus Form1::click(ControlId id) {
    const Kind kind = control_def(id).kind;
    if (kind != Kind::CheckBox && kind != Kind::Button)
        return ActionStatus::NotClickable;
    if (!window_.reachable(id))
        return ActionStatus::Unreachable;
    if (kind == Kind::CheckBox) {
        window_.set_value(id, window_.value(id) == 1 ? 0 : 1);
    } else {
        window_.press(id);
    }
    return ActionStatus::Done;
}

void Form1::on_change(ControlId id) {
    if (const FieldRule* rule = field_rule_for(id)) {
        EditorContext context = editor();
        run_field_rule(context, *rule);
    }
}

void Form1::on_click(ControlId id) {
    EditorContext context = editor();
    if (const ToggleRule* rule = toggle_rule_for(id)) {
        run_toggle_rule(context, *rule);
    } else if (const ArrowClick arrow = arrow_click_for(id)) {
        arrow(context);
    } else if (id == kGenerateButton) {
        Command1_Click();
    }
}

std::vector<std::string> Form1::check() const {
    if (!scene_follows(window_, 0)) {
        return check_storyboard(storyboard_on_screen(window_, engine_ready_), path(),
                                platform_.file_exists);
    }
    return check_storyboard(store_storyboard(*this), path(), platform_.file_exists);
}

void Form1::bring_up(Position at) {
    EditorContext context = editor();
    tavrix::bring_up(context, at);
}

RunResult Form1::export_storyboard(std::string_view path) {
    const Storyboard storyboard = store_storyboard(*this);
    const std::string refused = "No se generó " + quoted_for_message(path, kMessagePathLimit);
    if (storyboard.scenes.empty()) {
        return RunFailure{FailureCause::NoScene, refused + ": «" +
                                                     std::string(control_def(C::Label15).text) +
                                                     "» no deja ninguna escena."};
    }
    if (const auto clashes = action_clashes(storyboard); !clashes.empty())
        return RunFailure{FailureCause::SharedAction,
                          refused + ". " + clash_text(storyboard, clashes.front())};
    std::unique_ptr<Output> output = platform_.open_output();
    return write_storyboard(storyboard, path, *output,
                            RunSettings{platform_.encode, progress_, frame_limit_, true});
}

// A run that fails leaves Tics, Tiempo and the tick total as they were.
void Form1::Command1_Click() {
    std::unique_ptr<Output> output = platform_.open_output();
    last_run_ = write_storyboard(storyboard_on_screen(window_, engine_ready_), path(), *output,
                                 RunSettings{platform_.encode, progress_, frame_limit_});
    if (!last_run_->ok())
        return;
    const RunTotals& totals = last_run_->value();
    tick_total_ = totals.ticks;
    window_.set_text(C::ticsI, std::to_string(totals.ticks));
    window_.set_text(C::tiempoI, number_text(totals.time));
}

Expected<std::vector<std::string>, std::string> Form1::import_storyboard(std::string_view path) {
    const std::string failed =
        "No se pudo importar " + quoted_for_message(path, kMessagePathLimit) + ": ";
    if (!platform_.read_file)
        return failed + "no se pueden leer archivos.";
    const FileContents bytes = platform_.read_file(path, kStoryboardFileLimit);
    if (!bytes.ok())
        return failed + bytes.error().reason + ".";
    const auto text = read_storyboard_text(bytes.value());
    if (!text.ok())
        return failed + text.error() + ".";
    ImportedStoryboard imported = tavrix::import_storyboard(text.value());
    Form1 fresh(platform_);
    (void)fresh.type_text(C::Text11, window_.text(C::Text11));
    fresh.set_engine_ready(engine_ready_);
    std::vector<std::string> unreachable = type_storyboard(fresh, imported.storyboard);
    std::vector<std::string>& not_taken = imported.not_taken;
    not_taken.insert(not_taken.end(), std::make_move_iterator(unreachable.begin()),
                     std::make_move_iterator(unreachable.end()));
    restore(fresh.snapshot());
    return std::move(not_taken);
}

std::string_view Form1::path() const {
    return window_.text(C::Text11);
}

RunSize Form1::run_size() const {
    return measure_run(storyboard_on_screen(window_, engine_ready_), platform_.encode);
}

std::optional<std::string> Form1::long_run_question() const {
    return tavrix::long_run_question(run_size());
}

std::optional<std::string> Form1::long_export_question() const {
    return tavrix::long_run_question(measure_run(store_storyboard(*this), platform_.encode));
}

Session Form1::snapshot() const {
    return Session{.controls = window_.states(),
                   .store = store_,
                   .ticks = tick_total_,
                   .options = {.engine_ready = engine_ready_}};
}

bool Form1::holds(const Session& session) const {
    return window_.states() == session.controls && store_ == session.store &&
           tick_total_ == session.ticks && engine_ready_ == session.options.engine_ready;
}

void Form1::restore(Session session) {
    window_.restore(session.controls);
    store_ = std::move(session.store);
    tick_total_ = session.ticks;
    engine_ready_ = session.options.engine_ready;
}

Status<SessionFailure> Form1::save_session(std::string_view path) const {
    const Status<std::string> saved = save_session_file(platform_.open_output, path, snapshot());
    if (!saved.ok())
        return session_failure("No se pudo guardar la sesión", path, saved.error());
    return Success{};
}

Status<SessionFailure> Form1::open_session(std::string_view path) {
    Expected<Session, std::string> opened = open_session_file(platform_.read_file, path);
    if (!opened.ok())
        return session_failure("No se pudo abrir la sesión", path, opened.error());
    restore(std::move(opened.value()));
    return Success{};
}

}  // namespace tavrix
