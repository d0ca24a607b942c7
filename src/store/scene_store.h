// The scene store: for ten scenes of ten animations, the last value of every field that
// belongs to a scene or an animation. Lives as long as the window.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "model/controls.h"

namespace tavrix {

// Empty (never written), a text, or a 16-bit whole number.
using Element = std::variant<std::monostate, std::string, std::int16_t>;

enum class TableKind : std::uint8_t { PerScene, PerAnimation };

// The 39 tables, in the order in which they are declared (the dump lists them so).
enum class TableId : std::uint8_t {
    // clang-format off
    esc_ttika, esc_tikdd, esc_Check6, esc_Check7, esc_soundfile, esc_rojo, esc_verde, esc_azul,
    esc_Text16, esc_Text17, esc_Text18, esc_Text19, esc_Check8, esc_Text25, esc_Text26,
    esc_Text27, esc_Text15, esc_Text20, esc_Text24, esc_Text23, esc_Text22, esc_Text21,
    esc_Text14,
    anim_Text1, anim_Text2, anim_Text3, anim_Text7, anim_Text8,
    anim_Text4, anim_Text5, anim_Text6, anim_Text9, anim_Text10,
    esc_Check1, esc_Check2, esc_Check3, esc_Check4, esc_Check5, esc_cantA,
    // clang-format on
};

inline constexpr std::size_t kTableCount = static_cast<std::size_t>(TableId::esc_cantA) + 1;
inline constexpr int kScenes = 10;
inline constexpr int kAnimations = 10;

// A table and the control whose value it keeps: a text box's text or a check box's value.
struct TableDef {
    TableId id;
    std::string_view name;
    TableKind kind;
    ControlId control;
};

// Every table, in the order in which a reload loads them into their controls.
const std::array<TableDef, kTableCount>& tables_in_reload_order();
const TableDef& table_def(TableId id);
// The table that keeps the control's value; none for a control that is not stored.
const TableDef* table_for(ControlId control);

// A place in the store: a scene and, for the per-animation tables, an animation, 0 to 9.
struct Position {
    int scene = 0;
    int animation = 0;
};

class SceneStore {
  public:
    SceneStore() = default;

    // Form_Load's start-up zeros: the whole number 0 in the colour and count tables.
    void put_startup_zeros();

    const Element& at(TableId table, Position at) const { return elements_[offset(table, at)]; }
    void store_text(TableId table, Position at, std::string_view text);
    // A text that is not needed elsewhere, moved in whole.
    void store_text(TableId table, Position at, std::string&& text) {
        elements_[offset(table, at)] = std::move(text);
    }
    void store_number(TableId table, Position at, std::int16_t number);

    // The conversions of a reload: as a text box's text, and as a check box's value.
    std::string load_text(TableId table, Position at) const;
    int load_check(TableId table, Position at) const;

    bool operator==(const SceneStore&) const = default;

  private:
    static std::size_t offset(TableId table, Position at);

    static constexpr std::size_t kElementCount = 29 * kScenes + 10 * kScenes * kAnimations;
    std::array<Element, kElementCount> elements_{};
};

// The text of an element as the dump and the reload show it.
std::string element_text(const Element& element);

}  // namespace tavrix
