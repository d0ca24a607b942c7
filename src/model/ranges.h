// The five frame ranges of the action: a "Desde:" field, a "Hasta:" field and an "Estático"
// box each. Note that "Y:" is Text7/Text9 and "Velocidad:" is Text8/Text10.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/controls.h"

namespace tavrix {

struct FrameRange {
    std::string_view column;  // the column's heading on the window
    ControlId from;           // row "Desde:"
    ControlId to;             // row "Hasta:"
    ControlId box;            // "Estático"
    bool steps_down;          // X and Y also move downward
};

inline constexpr std::size_t kRangeCount = 5;
enum RangeIndex : std::size_t { kGroup, kImage, kX, kY, kSpeed };

inline constexpr std::array<FrameRange, kRangeCount> kFrameRanges{{
    {"Grupo:", ControlId::Text1, ControlId::Text4, ControlId::Check1, false},
    {"Imagen:", ControlId::Text2, ControlId::Text5, ControlId::Check2, false},
    {"X:", ControlId::Text3, ControlId::Text6, ControlId::Check3, true},
    {"Y:", ControlId::Text7, ControlId::Text9, ControlId::Check4, true},
    {"Velocidad:", ControlId::Text8, ControlId::Text10, ControlId::Check5, false},
}};

namespace detail {
inline constexpr std::array<std::int8_t, kControlCount> kRangeByControl = [] {
    std::array<std::int8_t, kControlCount> by_control{};
    by_control.fill(-1);
    for (std::size_t i = 0; i < kRangeCount; ++i) {
        const FrameRange& range = kFrameRanges[i];
        for (ControlId id : {range.from, range.to, range.box})
            by_control[index_of(id)] = static_cast<std::int8_t>(i);
    }
    return by_control;
}();
}  // namespace detail

// The range that the field or box belongs to, as an index into kFrameRanges.
constexpr std::optional<std::size_t> range_of(ControlId id) {
    const std::int8_t range = detail::kRangeByControl[index_of(id)];
    if (range < 0)
        return std::nullopt;
    return static_cast<std::size_t>(range);
}

}  // namespace tavrix
