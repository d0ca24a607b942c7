// The properties a script names in `expect` and the dump lists, each by its one name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/window.h"

namespace tavrix::script {

std::string_view property_name(Property property);
std::optional<Property> find_property(std::string_view name);

// Every name, for a message: "text, caption, value, enabled y visible".
std::string property_names();

// The property as a script reads it: a text or caption, "0" or "1", "true" or "false".
// Nothing when the control's kind has no such property.
std::optional<std::string> read_property(const Window& window, const ControlDef& def,
                                         Property property);

}  // namespace tavrix::script
