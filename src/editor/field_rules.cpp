#include "editor/field_rules.h"

#include "common/numbers.h"

namespace tavrix {
namespace {

using C = ControlId;
using F = Family;

// clang-format off
constexpr std::array<FieldRule, kFieldRuleCount> kRules{{
    {C::ttika,     F::PlainNumeric},
    {C::tikdd,     F::PlainNumeric},
    {C::Text25,    F::PlainNumeric},
    {C::Text26,    F::PlainNumeric},
    {C::Text27,    F::PlainNumeric},
    {C::rojo,      F::PlainNumeric},
    {C::verde,     F::PlainNumeric},
    {C::azul,      F::PlainNumeric},
    {C::Text16,    F::PlainNumeric},
    {C::Text17,    F::SignedNumeric},
    {C::Text18,    F::SignedNumeric},
    {C::Text19,    F::PlainNumeric},
    {C::Text15,    F::PlainNumeric},
    {C::Text20,    F::PlainNumeric},
    {C::Text24,    F::PlainNumeric},
    {C::Text23,    F::SignedNumeric},
    {C::Text22,    F::SignedNumeric},
    {C::Text21,    F::PlainNumeric},
    {C::Text14,    F::PlainNumeric},
    {C::soundfile, F::FreeText},
    {C::cantA,     F::FreeText},
    {C::ndees,     F::SceneCount},
    {C::Text13,    F::SceneCount},
    {C::Text1,     F::RangeFrom},
    {C::Text2,     F::RangeFrom},
    {C::Text3,     F::RangeFrom},
    {C::Text7,     F::RangeFrom},
    {C::Text8,     F::RangeFrom},
    {C::Text4,     F::RangeTo},
    {C::Text5,     F::RangeTo},
    {C::Text6,     F::RangeTo},
    {C::Text9,     F::RangeTo},
    {C::Text10,    F::RangeTo},
}};
// clang-format on

constexpr std::array<const FieldRule*, kControlCount> kRuleByControl = [] {
    std::array<const FieldRule*, kControlCount> by_control{};
    for (const FieldRule& rule : kRules)
        by_control[index_of(rule.field)] = &rule;
    return by_control;
}();

// Writing "0" into a box that shows another text runs this same rule again, nested inside
// the write; the nested run finds the text normal and only copies and stores.
void zero_rule(Window& window, ControlId field) {
    if (leading_number(window.text(field)) == 0)
        window.set_text(field, "0");
}

void nine_ceiling(Window& window, ControlId field) {
    if (leading_number(window.text(field)) > 9)
        window.set_text(field, "9");
}

bool keeps_lone_minus(Family family) {
    return family == F::SignedNumeric || family == F::RangeFrom || family == F::RangeTo;
}

void estatico_copy(EditorContext& editor, ControlId from) {
    const std::size_t range = *range_of(from);
    if (editor.hold.active) {
        editor.hold.marked[range] = true;
        return;
    }
    copy_while_static(editor.window, kFrameRanges[range]);
}

void store_field(EditorContext& editor, ControlId field) {
    const TableDef& table = *table_for(field);
    if (table.kind == TableKind::PerScene) {
        if (const auto scene = current_scene(editor.window)) {
            editor.store.store_text(table.id, {*scene, 0}, editor.window.text(field));
        }
    } else if (const auto at = current_position(editor.window)) {
        editor.store.store_text(table.id, *at, editor.window.text(field));
    }
}

}  // namespace

const std::array<FieldRule, kFieldRuleCount>& field_rules() {
    return kRules;
}

const FieldRule* field_rule_for(ControlId field) {
    return kRuleByControl[index_of(field)];
}

void run_field_rule(EditorContext& editor, const FieldRule& rule) {
    Window& window = editor.window;
    if (rule.family != F::FreeText) {
        const bool lone_minus = window.text(rule.field) == "-";
        if (!(lone_minus && keeps_lone_minus(rule.family)))
            zero_rule(window, rule.field);
    }
    if (rule.family == F::SceneCount) {
        nine_ceiling(window, rule.field);
        return;
    }
    if (rule.family == F::RangeFrom)
        estatico_copy(editor, rule.field);
    store_field(editor, rule.field);
}

}  // namespace tavrix
