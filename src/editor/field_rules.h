// The change rules of the 33 text boxes that have one, by family: normalise the text, copy
// a "Desde:" field into its "Hasta:" field while the range is Estático, store the text.
#pragma once

#include <array>
#include <cstddef>

#include "editor/editor_context.h"
#include "model/controls.h"

namespace tavrix {

enum class Family : std::uint8_t {
    PlainNumeric,   // zero rule; store
    SignedNumeric,  // "-" stays, else zero rule; store
    RangeFrom,      // "-" stays, else zero rule; Estático copy; store per animation
    RangeTo,        // "-" stays, else zero rule; store per animation
    FreeText,       // store
    SceneCount,     // zero rule; nine ceiling; not stored
};

// Range fields find their range, and stored fields their table, by the control.
struct FieldRule {
    ControlId field;
    Family family;
};

inline constexpr std::size_t kFieldRuleCount = 33;

const std::array<FieldRule, kFieldRuleCount>& field_rules();
const FieldRule* field_rule_for(ControlId field);

// Runs the rule, as the field's Change event does.
void run_field_rule(EditorContext& editor, const FieldRule& rule);

}  // namespace tavrix
