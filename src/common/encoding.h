// Field texts are UTF-8 inside the program; the storyboard file is written in an 8-bit code
// page, one byte per character.
#pragma once

#include <string>
#include <string_view>

namespace tavrix {

// Appends `utf8` to `out` in Windows-1252. A character that the code page cannot hold, and
// every byte that is not part of a well-formed UTF-8 sequence, is written as "?".
void append_windows_1252(std::string_view utf8, std::string& out);

// True when every byte of the text is ASCII (the common case, copied as it stands).
bool is_ascii(std::string_view text) noexcept;

// Whether the text is well-formed UTF-8.
bool is_valid_utf8(std::string_view text) noexcept;

}  // namespace tavrix
