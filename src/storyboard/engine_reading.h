// How an engine reads a value of a storyboard file: what "Comprobar" warns of and what the
// stage plays.
#pragma once

#include <string_view>

namespace tavrix {

// A whole number as an engine reads one: an optional "-" and decimal digits, nothing else.
[[nodiscard]] bool is_plain_whole(std::string_view text) noexcept;

// Whether two layers' action numbers name the same action: the same text, or whole numbers
// of the same value ("07" and "7"), as an engine reads both "layer0.anim" and the number
// of "[Begin action N]".
[[nodiscard]] bool same_action_number(std::string_view a, std::string_view b) noexcept;

// The text without the spaces and tabs at both ends, as an engine takes a key's value.
[[nodiscard]] std::string_view trim_blanks(std::string_view text) noexcept;

}  // namespace tavrix
