#include "script/properties.h"

#include <array>

namespace tavrix::script {
namespace {

// In the order of Property, which is also the order the dump lists them in.
constexpr std::array<std::string_view, 5> kNames{"text", "caption", "value", "enabled", "visible"};

std::string bool_text(bool value) {
    return value ? "true" : "false";
}

}  // namespace

std::string_view property_name(Property property) {
    return kNames[static_cast<std::size_t>(property)];
}

std::optional<Property> find_property(std::string_view name) {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (kNames[i] == name)
            return static_cast<Property>(i);
    }
    return std::nullopt;
}

std::string property_names() {
    std::string list;
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (i > 0)
            list += i + 1 == kNames.size() ? " y " : ", ";
        list += kNames[i];
    }
    return list;
}

std::optional<std::string> read_property(const Window& window, const ControlDef& def,
                                         Property property) {
    const bool is_text_box = def.kind == Kind::TextBox;
    switch (property) {
        case Property::Text:
            if (is_text_box)
                return window.text(def.id);
            break;
        case Property::Caption:
            if (!is_text_box)
                return window.caption(def.id);
            break;
        case Property::Value:
            if (def.kind == Kind::CheckBox)
                return std::to_string(window.value(def.id));
            break;
        case Property::Enabled:
            return bool_text(window.enabled(def.id));
        case Property::Visible:
            return bool_text(window.visible(def.id));
    }
    return std::nullopt;
}

}  // namespace tavrix::script
