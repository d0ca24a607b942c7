#include "model/window.h"

namespace tavrix {

Window::Window(EventSink& sink) : sink_(sink) {
    for (const ControlDef& def : control_table()) {
        ControlState& control = state(def.id);
        control.text = std::string(def.text);
        control.value = def.initially.value;
        control.enabled = def.initially.enabled;
        control.visible = def.initially.visible;
    }
}

namespace {

template <typename Flag>
bool set_up_to_the_window(ControlId id, Flag flag) {
    for (std::optional<ControlId> at = id; at; at = control_def(*at).container) {
        if (!flag(*at))
            return false;
    }
    return true;
}

}  // namespace

bool Window::enabled_on_screen(ControlId id) const {
    return set_up_to_the_window(id, [this](ControlId at) { return enabled(at); });
}

bool Window::visible_on_screen(ControlId id) const {
    return set_up_to_the_window(id, [this](ControlId at) { return visible(at); });
}

bool Window::reachable(ControlId id) const {
    return set_up_to_the_window(id, [this](ControlId at) { return enabled(at) && visible(at); });
}

void Window::set_text(ControlId id, std::string_view text) {
    ControlState& control = state(id);
    if (control.text == text)
        return;
    control.text.assign(text);
    notify(id, Property::Text);
    sink_.on_change(id);
}

void Window::set_caption(ControlId id, std::string_view text) {
    ControlState& control = state(id);
    if (control.text == text)
        return;
    control.text.assign(text);
    notify(id, Property::Caption);
}

void Window::set_value(ControlId id, int value) {
    ControlState& control = state(id);
    if (control.value == value)
        return;
    control.value = value;
    notify(id, Property::Value);
    sink_.on_click(id);
}

void Window::set_enabled(ControlId id, bool enabled) {
    ControlState& control = state(id);
    if (control.enabled == enabled)
        return;
    control.enabled = enabled;
    notify(id, Property::Enabled);
}

void Window::set_visible(ControlId id, bool visible) {
    ControlState& control = state(id);
    if (control.visible == visible)
        return;
    control.visible = visible;
    notify(id, Property::Visible);
}

void Window::press(ControlId id) {
    sink_.on_click(id);
}

}  // namespace tavrix
