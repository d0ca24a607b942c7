// An action as the file holds it: the rows of its animations expanded one after another,
// each starting from the tick total that the one before left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "common/expected.h"
#include "storyboard/frame_expansion.h"
#include "storyboard/storyboard.h"

namespace tavrix {

// Why an action stopped, and at which of its rows.
struct RowFailure {
    std::size_t row;
    ExpansionFailure failure;
};

// Writes the frame lines of every row to `writer`; gives the action's tick total.
Expected<std::int32_t, RowFailure> expand_action(std::span<const Storyboard::Row> rows,
                                                 Encoder encode, BlockWriter& writer);

// Takes the bytes of a pass that only counts, and keeps none.
class DiscardOutput final : public Output {
  public:
    IoStatus open(std::string_view) override { return IoStatus::success(); }
    IoStatus write(std::string_view) override { return IoStatus::success(); }
    IoStatus commit() override { return IoStatus::success(); }
    void abandon() noexcept override {}
};

// Leaves a field's text as it is: frame lines compared or counted as the fields give them,
// whatever a code page would make of them.
void append_as_typed(std::string_view utf8, std::string& out);

// The action's tick total; none when it cannot be expanded.
[[nodiscard]] std::optional<std::int32_t> action_ticks(std::span<const Storyboard::Row> rows);

// Two actions whose frame lines are the same bytes have the same fingerprint; none when the
// action cannot be expanded. The expansion stops soon after `budget` bytes: then the print
// is of a beginning of the action only (`whole` false), which is enough to tell two long
// actions apart in a moment when they differ early.
struct ActionFingerprint {
    std::uint64_t hash;
    std::uint64_t bytes;
    bool whole = true;
    bool operator==(const ActionFingerprint&) const = default;
};
inline constexpr std::uint64_t kWholeAction = UINT64_MAX;
[[nodiscard]] std::optional<ActionFingerprint> fingerprint(std::span<const Storyboard::Row> rows,
                                                           Encoder encode,
                                                           std::uint64_t budget = kWholeAction);

}  // namespace tavrix
