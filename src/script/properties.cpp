#include "script/properties.h"

#include <array>

namespace tavrix::script {
namespace {

constexpr Property kProperties[] = {Property::Text, Property::Caption, Property::Value,
                                    Property::Enabled, Property::Visible};

std::string bool_text(bool value) {
    return value ? "true" : "false";
}

}  // namespace

std::string property_names() {
    std::string list;
    for (std::size_t i = 0; i < std::size(kProperties); ++i) {
        if (i > 0)
            list += i + 1 == std::size(kProperties) ? " y " : ", ";
        list += property_name(kProperties[i]);
    }
    return list;
}

std::optional<std::string> read_property(const Window& window, const ControlDef& def,
                                         Property property) {
    if (!has_property(def.kind, property))
        return std::nullopt;
    switch (property) {
        case Property::Text:
        case Property::Caption:
            return window.text(def.id);
        case Property::Value:
            return std::to_string(window.value(def.id));
        case Property::Enabled:
            return bool_text(window.enabled(def.id));
        case Property::Visible:
            return bool_text(window.visible(def.id));
    }
    return std::nullopt;
}

}  // namespace tavrix::script
