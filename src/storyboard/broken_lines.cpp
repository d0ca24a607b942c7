#include "storyboard/broken_lines.h"

#include "storyboard/engine_reading.h"

namespace tavrix {
namespace {

constexpr std::string_view kEnds("\r\n\0", 3);

std::string counted(std::size_t count, std::string_view one, std::string_view many) {
    return count == 1 ? std::string(one) : std::to_string(count) + " " + std::string(many);
}

}  // namespace

bool breaks_line(std::string_view text) noexcept {
    return text.find_first_of(kEnds) != std::string_view::npos;
}

std::optional<BrokenValue> broken_value(std::string_view text) {
    std::size_t end = text.find_first_of(kEnds);
    if (end == std::string_view::npos)
        return std::nullopt;
    BrokenValue value{text.substr(0, end), {}, 0, 0};
    while (end != std::string_view::npos) {
        if (text[end] == '\0')
            ++value.nuls;
        else
            ++value.breaks;
        const bool crlf = text.compare(end, 2, "\r\n") == 0;
        text.remove_prefix(end + (crlf ? 2 : 1));
        end = text.find_first_of(kEnds);
        value.lines.push_back(text.substr(0, end));
    }
    return value;
}

std::string breaks_text(const BrokenValue& value) {
    std::string text;
    if (value.breaks > 0)
        text = counted(value.breaks, "un salto de línea", "saltos de línea");
    if (value.nuls > 0) {
        if (!text.empty())
            text += " y ";
        text += counted(value.nuls, "un carácter nulo", "caracteres nulos");
    }
    return text;
}

LineMeaning line_meaning(std::string_view line) noexcept {
    line = trim_blanks(line.substr(0, line.find(';')));
    if (line.empty())
        return {};
    if (line.front() == '[') {
        const std::size_t close = line.find(']');
        return close == std::string_view::npos
                   ? LineMeaning{}
                   : LineMeaning{LineKind::Section, line.substr(0, close + 1)};
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || trim_blanks(line.substr(0, equals)).empty())
        return {};
    return {LineKind::Key, line};
}

}  // namespace tavrix
