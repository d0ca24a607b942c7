// What a one-line field of the window takes, the same in both windows: how much text it
// holds, and what it keeps of a pasted text.
#pragma once

#include <cstddef>
#include <string_view>

namespace tavrix {

// The longest text a field holds, in UTF-16 code units as a Win32 edit counts them: the
// most a one-line edit takes once its own limit is lifted. The script's `set` and a session
// file are held to it too.
inline constexpr std::size_t kFieldTextLimit = 2'147'483'646;

// A text's length as the field counts it: UTF-16 code units (two for a character beyond
// U+FFFF), counted from the lead bytes of the UTF-8 text.
[[nodiscard]] std::size_t field_length(std::string_view text) noexcept;
[[nodiscard]] inline bool fits_field(std::string_view text) noexcept {
    return field_length(text) <= kFieldTextLimit;
}

// What a one-line field keeps of a pasted text, as the Win32 edit keeps it: the text up to
// its first line feed, without one carriage return just before it, and up to its first NUL
// (where the clipboard's text ends). A carriage return alone, a tab and any other control
// character stay.
[[nodiscard]] std::string_view pasted_line(std::string_view pasted) noexcept;

}  // namespace tavrix
