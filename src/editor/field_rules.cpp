#include "editor/field_rules.h"

#include "common/numbers.h"

namespace tavrix {
namespace {

using C = ControlId;
using T = TableId;
using F = Family;

// clang-format off
constexpr std::array<FieldRule, kFieldRuleCount> kRules{{
    {C::ttika,     "ttika_Change",     F::PlainNumeric,  T::esc_ttika,     {}},
    {C::tikdd,     "tikdd_Change",     F::PlainNumeric,  T::esc_tikdd,     {}},
    {C::Text25,    "Text25_Change",    F::PlainNumeric,  T::esc_Text25,    {}},
    {C::Text26,    "Text26_Change",    F::PlainNumeric,  T::esc_Text26,    {}},
    {C::Text27,    "Text27_Change",    F::PlainNumeric,  T::esc_Text27,    {}},
    {C::rojo,      "rojo_Change",      F::PlainNumeric,  T::esc_rojo,      {}},
    {C::verde,     "verde_Change",     F::PlainNumeric,  T::esc_verde,     {}},
    {C::azul,      "azul_Change",      F::PlainNumeric,  T::esc_azul,      {}},
    {C::Text16,    "Text16_Change",    F::PlainNumeric,  T::esc_Text16,    {}},
    {C::Text17,    "Text17_Change",    F::SignedNumeric, T::esc_Text17,    {}},
    {C::Text18,    "Text18_Change",    F::SignedNumeric, T::esc_Text18,    {}},
    {C::Text19,    "Text19_Change",    F::PlainNumeric,  T::esc_Text19,    {}},
    {C::Text15,    "Text15_Change",    F::PlainNumeric,  T::esc_Text15,    {}},
    {C::Text20,    "Text20_Change",    F::PlainNumeric,  T::esc_Text20,    {}},
    {C::Text24,    "Text24_Change",    F::PlainNumeric,  T::esc_Text24,    {}},
    {C::Text23,    "Text23_Change",    F::SignedNumeric, T::esc_Text23,    {}},
    {C::Text22,    "Text22_Change",    F::SignedNumeric, T::esc_Text22,    {}},
    {C::Text21,    "Text21_Change",    F::PlainNumeric,  T::esc_Text21,    {}},
    {C::Text14,    "Text14_Change",    F::PlainNumeric,  T::esc_Text14,    {}},
    {C::soundfile, "soundfile_Change", F::FreeText,      T::esc_soundfile, {}},
    {C::cantA,     "cantA_Change",     F::FreeText,      T::esc_cantA,     {}},
    {C::ndees,     "ndees_Change",     F::SceneCount,    {},               {}},
    {C::Text13,    "Text13_Change",    F::SceneCount,    {},               {}},
    {C::Text1,     "Text1_Change",     F::RangeFrom,     T::anim_Text1,    kGroup},
    {C::Text2,     "Text2_Change",     F::RangeFrom,     T::anim_Text2,    kImage},
    {C::Text3,     "Text3_Change",     F::RangeFrom,     T::anim_Text3,    kX},
    {C::Text7,     "Text7_Change",     F::RangeFrom,     T::anim_Text7,    kY},
    {C::Text8,     "Text8_Change",     F::RangeFrom,     T::anim_Text8,    kSpeed},
    {C::Text4,     "Text4_Change",     F::RangeTo,       T::anim_Text4,    kGroup},
    {C::Text5,     "Text5_Change",     F::RangeTo,       T::anim_Text5,    kImage},
    {C::Text6,     "Text6_Change",     F::RangeTo,       T::anim_Text6,    kX},
    {C::Text9,     "Text9_Change",     F::RangeTo,       T::anim_Text9,    kY},
    {C::Text10,    "Text10_Change",    F::RangeTo,       T::anim_Text10,   kSpeed},
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

void estatico_copy(EditorContext& editor, std::size_t range_index) {
    const FrameRange& range = kFrameRanges[range_index];
    if (editor.hold.active) {
        editor.hold.marked[range_index] = true;
        return;
    }
    if (editor.window.value(range.box) == 1) {
        editor.window.set_text(range.to, editor.window.text(range.from));
    }
}

void store_field(EditorContext& editor, const FieldRule& rule) {
    const TableId table = *rule.table;
    if (table_def(table).kind == TableKind::PerScene) {
        if (const auto scene = current_scene(editor.window)) {
            editor.store.store_text(table, {*scene, 0}, editor.window.text(rule.field));
        }
    } else if (const auto at = current_position(editor.window)) {
        editor.store.store_text(table, *at, editor.window.text(rule.field));
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
        estatico_copy(editor, *rule.range);
    store_field(editor, rule);
}

}  // namespace tavrix
