#include "store/scene_store.h"

#include <cassert>

namespace tavrix {
namespace {

using T = TableId;
using C = ControlId;
constexpr TableKind kScene = TableKind::PerScene;
constexpr TableKind kAnim = TableKind::PerAnimation;

// The reload's order: the "Desde:" row (steps 24 to 28) before the "Hasta:" row, and the
// Estático boxes (34 to 38) after both.
// clang-format off
constexpr std::array<TableDef, kTableCount> kTables{{
    {T::esc_ttika,     "esc_ttika",     kScene, C::ttika},      //  1
    {T::esc_Check6,    "esc_Check6",    kScene, C::Check6},     //  2
    {T::esc_tikdd,     "esc_tikdd",     kScene, C::tikdd},      //  3
    {T::esc_Check7,    "esc_Check7",    kScene, C::Check7},     //  4
    {T::esc_soundfile, "esc_soundfile", kScene, C::soundfile},  //  5
    {T::esc_rojo,      "esc_rojo",      kScene, C::rojo},       //  6
    {T::esc_azul,      "esc_azul",      kScene, C::azul},       //  7
    {T::esc_verde,     "esc_verde",     kScene, C::verde},      //  8
    {T::esc_Text16,    "esc_Text16",    kScene, C::Text16},     //  9
    {T::esc_Text17,    "esc_Text17",    kScene, C::Text17},     // 10
    {T::esc_Text18,    "esc_Text18",    kScene, C::Text18},     // 11
    {T::esc_Text19,    "esc_Text19",    kScene, C::Text19},     // 12
    {T::esc_Check8,    "esc_Check8",    kScene, C::Check8},     // 13
    {T::esc_Text27,    "esc_Text27",    kScene, C::Text27},     // 14
    {T::esc_Text26,    "esc_Text26",    kScene, C::Text26},     // 15
    {T::esc_Text25,    "esc_Text25",    kScene, C::Text25},     // 16
    {T::esc_Text15,    "esc_Text15",    kScene, C::Text15},     // 17
    {T::esc_Text20,    "esc_Text20",    kScene, C::Text20},     // 18
    {T::esc_Text24,    "esc_Text24",    kScene, C::Text24},     // 19
    {T::esc_Text23,    "esc_Text23",    kScene, C::Text23},     // 20
    {T::esc_Text22,    "esc_Text22",    kScene, C::Text22},     // 21
    {T::esc_Text21,    "esc_Text21",    kScene, C::Text21},     // 22
    {T::esc_Text14,    "esc_Text14",    kScene, C::Text14},     // 23
    {T::anim_Text1,    "anim_Text1",    kAnim,  C::Text1},      // 24: the "Desde:" row
    {T::anim_Text2,    "anim_Text2",    kAnim,  C::Text2},      // 25
    {T::anim_Text3,    "anim_Text3",    kAnim,  C::Text3},      // 26
    {T::anim_Text7,    "anim_Text7",    kAnim,  C::Text7},      // 27
    {T::anim_Text8,    "anim_Text8",    kAnim,  C::Text8},      // 28
    {T::anim_Text4,    "anim_Text4",    kAnim,  C::Text4},      // 29: the "Hasta:" row
    {T::anim_Text5,    "anim_Text5",    kAnim,  C::Text5},      // 30
    {T::anim_Text6,    "anim_Text6",    kAnim,  C::Text6},      // 31
    {T::anim_Text9,    "anim_Text9",    kAnim,  C::Text9},      // 32
    {T::anim_Text10,   "anim_Text10",   kAnim,  C::Text10},     // 33
    {T::esc_Check1,    "esc_Check1",    kScene, C::Check1},     // 34: the Estático boxes
    {T::esc_Check2,    "esc_Check2",    kScene, C::Check2},     // 35
    {T::esc_Check3,    "esc_Check3",    kScene, C::Check3},     // 36
    {T::esc_Check4,    "esc_Check4",    kScene, C::Check4},     // 37
    {T::esc_Check5,    "esc_Check5",    kScene, C::Check5},     // 38
    {T::esc_cantA,     "esc_cantA",     kScene, C::cantA},      // 39
}};
// clang-format on

constexpr std::size_t table_size(TableKind kind) {
    return kind == TableKind::PerScene ? kScenes : kScenes * kAnimations;
}

constexpr std::size_t index_of(TableId id) {
    return static_cast<std::size_t>(id);
}

// Each table's place in kTables, by TableId.
constexpr std::array<std::uint8_t, kTableCount> kReloadPlace = [] {
    std::array<std::uint8_t, kTableCount> places{};
    for (std::size_t i = 0; i < kTableCount; ++i)
        places[index_of(kTables[i].id)] = static_cast<std::uint8_t>(i);
    return places;
}();

constexpr std::array<const TableDef*, kControlCount> kTableByControl = [] {
    std::array<const TableDef*, kControlCount> by_control{};
    for (const TableDef& table : kTables)
        by_control[index_of(table.control)] = &table;
    return by_control;
}();

// Where each table's elements stand in the one array of elements, by TableId.
struct Placement {
    std::size_t start;
    bool per_animation;
};

constexpr std::array<Placement, kTableCount> kPlacements = [] {
    std::array<Placement, kTableCount> placements{};
    std::size_t next = 0;
    for (const TableDef& table : kTables) {
        placements[index_of(table.id)] = {next, table.kind == TableKind::PerAnimation};
        next += table_size(table.kind);
    }
    return placements;
}();

bool in_range(Position at) {
    return at.scene >= 0 && at.scene < kScenes && at.animation >= 0 && at.animation < kAnimations;
}

}  // namespace

const std::array<TableDef, kTableCount>& tables_in_reload_order() {
    return kTables;
}

const TableDef& table_def(TableId id) {
    return kTables[kReloadPlace[index_of(id)]];
}

const TableDef* table_for(ControlId control) {
    return kTableByControl[index_of(control)];
}

std::size_t SceneStore::offset(TableId table, Position at) {
    assert(in_range(at));
    (void)in_range;
    const Placement& placement = kPlacements[index_of(table)];
    const int within = placement.per_animation ? at.scene * kAnimations + at.animation : at.scene;
    return placement.start + static_cast<std::size_t>(within);
}

void SceneStore::put_startup_zeros() {
    for (int scene = 0; scene < kScenes; ++scene) {
        for (TableId table :
             {TableId::esc_rojo, TableId::esc_verde, TableId::esc_azul, TableId::esc_cantA}) {
            store_number(table, {scene, 0}, 0);
        }
    }
}

void SceneStore::store_text(TableId table, Position at, std::string_view text) {
    Element& element = elements_[offset(table, at)];
    if (auto* held = std::get_if<std::string>(&element)) {
        held->assign(text);  // keeps the element's buffer: no allocation on every keystroke
    } else {
        element.emplace<std::string>(text);
    }
}

void SceneStore::store_number(TableId table, Position at, std::int16_t number) {
    elements_[offset(table, at)] = number;
}

std::string element_text(const Element& element) {
    if (const auto* text = std::get_if<std::string>(&element))
        return *text;
    if (const auto* number = std::get_if<std::int16_t>(&element))
        return std::to_string(*number);
    return {};
}

std::string SceneStore::load_text(TableId table, Position at) const {
    return element_text(this->at(table, at));
}

int SceneStore::load_check(TableId table, Position at) const {
    const Element& element = this->at(table, at);
    if (const auto* number = std::get_if<std::int16_t>(&element))
        return *number;
    return 0;
}

}  // namespace tavrix
