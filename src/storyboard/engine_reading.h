// How an engine reads a value of a storyboard file: what "Comprobar" warns of and what the
// stage plays.
#pragma once

#include <string_view>

namespace tavrix {

// A whole number as an engine reads one: an optional "-" and decimal digits, nothing else.
[[nodiscard]] bool is_plain_whole(std::string_view text) noexcept;

// The text without the spaces and tabs at both ends, as an engine takes a key's value.
[[nodiscard]] std::string_view trim_blanks(std::string_view text) noexcept;

}  // namespace tavrix
