// The name a person knows each control by: what the screen shows beside it, from the control
// table's own captions ("Desde: X", "Fade: Color RGB: rojo"). Assistive tools read it, and
// every message names a field by it.
#pragma once

#include <optional>
#include <string>

#include "model/controls.h"

namespace tavrix {

// Empty for a control that takes no focus and names no field (a label, a frame).
std::string control_name(ControlId id);

// The label shown beside a box, which a screen links to it; none when the box has no label of
// its own.
std::optional<ControlId> label_of(ControlId id);

}  // namespace tavrix
