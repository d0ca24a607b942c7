// A value that the writer copies into the file with a CR, LF or NUL in it, as an engine reads
// the line it lands on: the line ends at the first of them (CR LF as one end), and what
// follows reads as lines of their own, which may open a section or set a key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrix {

struct BrokenValue {
    std::string_view kept;                // what stays on the value's own line
    std::vector<std::string_view> lines;  // each line after it, in order
    std::size_t breaks = 0;               // line ends: CR, LF or CR LF
    std::size_t nuls = 0;
};

[[nodiscard]] bool breaks_line(std::string_view text) noexcept;

// None for a value without a CR, LF or NUL.
[[nodiscard]] std::optional<BrokenValue> broken_value(std::string_view text);

// What breaks it, in Spanish: "un salto de línea", "3 saltos de línea y un carácter nulo".
[[nodiscard]] std::string breaks_text(const BrokenValue& value);

// What a line read on its own makes, as the engine reads the file: a section heading
// ("[Scene 7]", up to its "]"), a key ("fadein.time = 999", without comment or blanks around
// it), or nothing worth naming (blank, a comment, anything else).
enum class LineKind : std::uint8_t { Other, Section, Key };
struct LineMeaning {
    LineKind kind = LineKind::Other;
    std::string_view text;
};
[[nodiscard]] LineMeaning line_meaning(std::string_view line) noexcept;

}  // namespace tavrix
