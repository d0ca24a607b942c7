// The properties as a script reads them in `expect`.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/window.h"

namespace tavrix::script {

// Every name, for a message: "text, caption, value, enabled y visible".
std::string property_names();

// The property as a script reads it: a text or caption, "0" or "1", "true" or "false".
// Nothing when the control's kind has no such property.
std::optional<std::string> read_property(const Window& window, const ControlDef& def,
                                         Property property);

}  // namespace tavrix::script
