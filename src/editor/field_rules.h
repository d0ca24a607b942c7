// The change rules of the 33 text boxes that have one, by family: normalise the text, copy
// a "Desde:" field into its "Hasta:" field while the range is Estático, store the text.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "app/controls.h"
#include "editor/editor_context.h"
#include "store/scene_store.h"

namespace tavrix {

enum class Family : std::uint8_t {
    PlainNumeric,   // zero rule; store
    SignedNumeric,  // "-" stays, else zero rule; store
    RangeFrom,      // "-" stays, else zero rule; Estático copy; store per animation
    RangeTo,        // "-" stays, else zero rule; store per animation
    FreeText,       // store
    SceneCount,     // zero rule; nine ceiling; not stored
};

struct FieldRule {
    ControlId field;
    std::string_view handler;
    Family family;
    std::optional<TableId> table;
    std::optional<std::size_t> range;  // range fields: index into kFrameRanges
};

inline constexpr std::size_t kFieldRuleCount = 33;

const std::array<FieldRule, kFieldRuleCount>& field_rules();
const FieldRule* field_rule_for(ControlId field);

// Runs the rule, as the field's Change event does.
void run_field_rule(EditorContext& editor, const FieldRule& rule);

}  // namespace tavrix
