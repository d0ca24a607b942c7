#include "model/window.h"

namespace tavrix {
namespace {

// In the order of Property, which is also the order the dump lists them in.
constexpr std::array<std::string_view, 5> kPropertyNames{"text", "caption", "value", "enabled",
                                                         "visible"};

}  // namespace

std::string_view property_name(Property property) {
    return kPropertyNames[static_cast<std::size_t>(property)];
}

std::optional<Property> find_property(std::string_view name) {
    for (std::size_t i = 0; i < kPropertyNames.size(); ++i) {
        if (kPropertyNames[i] == name)
            return static_cast<Property>(i);
    }
    return std::nullopt;
}

bool has_property(Kind kind, Property property) {
    switch (property) {
        case Property::Text:
            return kind == Kind::TextBox;
        case Property::Caption:
            return kind != Kind::TextBox;
        case Property::Value:
            return kind == Kind::CheckBox;
        case Property::Enabled:
        case Property::Visible:
            return true;
    }
    return false;
}

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

void Window::restore(const ControlStates& states) {
    for (const ControlDef& def : control_table()) {
        ControlState& control = state(def.id);
        const ControlState& wanted = states[index_of(def.id)];
        const Property shown = def.kind == Kind::TextBox ? Property::Text : Property::Caption;
        const std::pair<bool, Property> changes[] = {
            {control.text != wanted.text, shown},
            {control.value != wanted.value, Property::Value},
            {control.enabled != wanted.enabled, Property::Enabled},
            {control.visible != wanted.visible, Property::Visible}};
        control = wanted;
        for (auto [changed, property] : changes) {
            if (changed)
                notify(def.id, property);
        }
    }
}

}  // namespace tavrix
