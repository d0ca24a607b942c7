// Field texts are UTF-8 inside the program; the storyboard file is written in an 8-bit code
// page, one byte per character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavrix {

// Appends `utf8` to `out` in Windows-1252. A character that the code page cannot hold, and
// every byte that is not part of a well-formed UTF-8 sequence, is written as "?".
void append_windows_1252(std::string_view utf8, std::string& out);

// Appends `bytes`, read as Windows-1252, to `out` in UTF-8. Every byte is a character: the
// five that the code page leaves unassigned become the C1 code points, as Windows reads them.
void append_utf8_from_windows_1252(std::string_view bytes, std::string& out);

// True when every byte of the text is ASCII (the common case, copied as it stands).
bool is_ascii(std::string_view text) noexcept;

// Whether the text is well-formed UTF-8.
bool is_valid_utf8(std::string_view text) noexcept;

// A text as a message shows it: control characters escaped ("\n", "\u001b") so that a
// terminal shows them instead of obeying them, and bytes that are not UTF-8 as "\xff".
std::string escaped_for_message(std::string_view text);
// The same in quotes, cut after `limit` characters with "..." so that a huge value does
// not flood the message. Paths get a longer limit: their end names the file.
inline constexpr std::size_t kMessageValueLimit = 60;
inline constexpr std::size_t kMessagePathLimit = 260;
std::string quoted_for_message(std::string_view text, std::size_t limit = kMessageValueLimit);

}  // namespace tavrix
