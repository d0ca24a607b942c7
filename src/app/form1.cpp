#include "app/form1.h"

#include <string>

#include "editor/field_rules.h"
#include "editor/toggle_rules.h"
#include "store/navigation.h"

namespace tavrix {
namespace {

using C = ControlId;

struct ButtonHandler {
    ControlId button;
    std::string_view name;
    void (*run)(EditorContext&);  // none for "Generar!", which Form1 runs itself
};

constexpr std::array<ButtonHandler, 5> kButtonHandlers{{
    {C::Command1, "Command1_Click", nullptr},
    {C::botant, "botant_Click", botant_Click},
    {C::botsig, "botsig_Click", botsig_Click},
    {C::Command3, "Command3_Click", Command3_Click},
    {C::Command2, "Command2_Click", Command2_Click},
}};

const ButtonHandler* button_handler_for(ControlId id) {
    for (const ButtonHandler& handler : kButtonHandlers) {
        if (handler.button == id)
            return &handler;
    }
    return nullptr;
}

}  // namespace

std::string_view describe(ActionError error) {
    switch (error) {
        case ActionError::NotATextBox:
            return "no es un cuadro de texto";
        case ActionError::NotClickable:
            return "no es una casilla ni un botón";
        case ActionError::Unreachable:
            return "está deshabilitado u oculto";
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

std::optional<ActionError> Form1::type_text(ControlId id, std::string_view text) {
    if (control_def(id).kind != Kind::TextBox)
        return ActionError::NotATextBox;
    if (!window_.reachable(id))
        return ActionError::Unreachable;
    window_.set_text(id, text);
    return std::nullopt;
}

std::optional<ActionError> Form1::click(ControlId id) {
    const Kind kind = control_def(id).kind;
    if (kind != Kind::CheckBox && kind != Kind::Button)
        return ActionError::NotClickable;
    if (!window_.reachable(id))
        return ActionError::Unreachable;
    if (kind == Kind::CheckBox) {
        window_.set_value(id, window_.value(id) == 1 ? 0 : 1);
    } else {
        window_.press(id);
    }
    return std::nullopt;
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
    } else if (const ButtonHandler* handler = button_handler_for(id)) {
        if (handler->run) {
            handler->run(context);
        } else {
            Command1_Click();
        }
    }
}

void Form1::Command1_Click() {
    std::unique_ptr<Output> output = platform_.open_output();
    last_run_failure_ = generate_storyboard(window_, tick_total_, *output,
                                            RunSettings{platform_.encode, progress_});
}

}  // namespace tavrix
