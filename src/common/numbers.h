// The three number rules shared by the field rules, the frame expansion and navigation.
// "." is the decimal separator everywhere; regional settings are never read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrix {

// The number at the start of a text. Blanks, tabs and line feeds are skipped wherever they
// stand; then an optional sign, digits with at most one ".", and an optional exponent
// (E or D, either case) are read as far as they go. "&H" and "&O" read hexadecimal and octal
// digits as a whole number. A text without a leading number reads as 0. Never fails; a
// value beyond the range of a double reads as an infinity of its sign.
double leading_number(std::string_view text) noexcept;

// The whole text as a number, after removing spaces and tabs at both ends:
// [+|-]digits[.[digits]] or [+|-].digits, optionally followed by [EeDd][+|-]digits; or &H
// with hexadecimal digits, or &O with octal digits. Anything else, and any value that a
// double cannot hold, gives no value.
std::optional<double> strict_number(std::string_view text) noexcept;

// Whether the text is written in full as a number that a double cannot hold ("1E400").
bool is_beyond_double(std::string_view text) noexcept;

// Room for any number text, the terminating zero not included.
inline constexpr std::size_t kNumberTextCapacity = 32;

// A computed number as text, exactly as printf("%.15G") writes it in the C locale, with a
// negative zero written "0". Writes into `out` (at least kNumberTextCapacity bytes) and
// returns the length. Allocation-free; the hot path of the frame expansion uses it.
std::size_t write_number_text(double value, char* out) noexcept;
std::string number_text(double value);

// The number text preceded by a space when the value is zero or positive.
std::string sign_padded_number_text(double value);

// A count as Spanish writes it: groups of three digits split by dots ("1.234.567").
[[nodiscard]] std::string grouped_number(std::uint64_t count);

}  // namespace tavrix
