// Texts between the program (UTF-8) and the system's wide-character calls (UTF-16), and the
// storyboard file's code page on Windows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrix {

// A malformed sequence becomes U+FFFD; widen_exact instead gives nothing for it.
std::wstring widen(std::string_view utf8);
std::optional<std::wstring> widen_exact(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// Appends `utf8` to `out` in the active ANSI code page; what it cannot hold becomes "?".
void append_active_code_page(std::string_view utf8, std::string& out);

}  // namespace tavrix
