#include "storyboard/storyboard_text.h"

#include <algorithm>
#include <charconv>

#include "common/encoding.h"

namespace tavrix {
namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Removes `word` and the blanks after it from the front of `text`, in any case.
bool take_word(std::string_view& text, std::string_view word) {
    if (text.size() < word.size() || !same_name(text.substr(0, word.size()), word))
        return false;
    text = trimmed(text.substr(word.size()));
    return true;
}

// "Begin Action 12" gives 12; any other name gives nothing.
std::optional<long long> action_number(std::string_view name) {
    const std::string_view whole = name;
    if (!take_word(name, "begin") || name.size() == whole.size() - 5 || !take_word(name, "action"))
        return std::nullopt;
    long long number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error != std::errc{} || end != name.data() + name.size() || name.empty())
        return std::nullopt;
    return number;
}

// Where a line's comment starts (its end when it has none), and where its first "=" and
// its first "," before that stand: one pass, since a long action has a million short lines.
struct LineMarks {
    std::size_t comment;
    std::size_t equals = std::string_view::npos;
    std::size_t comma = std::string_view::npos;
};

LineMarks marks_of(std::string_view line) {
    LineMarks marks{line.size()};
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ';') {
            marks.comment = i;
            break;
        }
        if (c == '=' && marks.equals == std::string_view::npos)
            marks.equals = i;
        if (c == ',' && marks.comma == std::string_view::npos)
            marks.comma = i;
    }
    return marks;
}

// Appends the values between the commas of `line` to `values`.
void append_values(std::string_view line, std::vector<std::string_view>& values) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ',') {
            values.push_back(trimmed(line.substr(start, i - start)));
            start = i + 1;
        }
    }
    values.push_back(trimmed(line.substr(start)));
}

// Splits the action lines, `lines` in file order, into `values`, reserved once for all of
// them so that it never moves, and points each line at its own.
void split_action_lines(std::vector<StoryboardSection>& sections,
                        const std::vector<std::string_view>& lines,
                        std::vector<std::string_view>& values) {
    std::size_t count = lines.size();
    for (std::string_view line : lines)
        count += static_cast<std::size_t>(std::count(line.begin(), line.end(), ','));
    values.reserve(count);
    std::size_t line = 0;
    for (StoryboardSection& section : sections) {
        for (ActionLine& frame : section.frames) {
            const std::size_t at = values.size();
            append_values(lines[line++], values);
            frame.values = std::span(values).subspan(at);
        }
    }
}

}  // namespace

bool is_scene_section(std::string_view name) {
    return take_word(name, "scene") && !name.empty() &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool same_name(std::string_view a, std::string_view b) noexcept {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

const StoryboardSection* StoryboardText::find(std::string_view name) const {
    const auto found =
        std::find_if(sections.begin(), sections.end(),
                     [name](const StoryboardSection& s) { return same_name(s.name, name); });
    return found == sections.end() ? nullptr : &*found;
}

const StoryboardKey* find_key(const StoryboardSection& section, std::string_view name) {
    const auto found =
        std::find_if(section.keys.begin(), section.keys.end(),
                     [name](const StoryboardKey& key) { return same_name(key.name, name); });
    return found == section.keys.end() ? nullptr : &*found;
}

Expected<StoryboardText, std::string> read_storyboard_text(std::string_view bytes) {
    if (bytes.size() > kStoryboardFileLimit)
        return std::string("el archivo pasa de 64 MiB");
    if (bytes.find('\0') != std::string_view::npos)
        return std::string("no es un storyboard: es un archivo binario");
    StoryboardText read;
    std::string& text = *read.text_;
    text.reserve(bytes.size());
    append_utf8_from_windows_1252(bytes, text);

    std::string_view rest = text;
    StoryboardSection* section = nullptr;
    std::vector<std::string_view> action_lines;  // split once all are known
    for (std::size_t number = 1; !rest.empty(); ++number) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const LineMarks marks = marks_of(line);
        const std::string_view uncommented = line.substr(0, marks.comment);
        line = trimmed(uncommented);
        if (line.empty())
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::string_view name =
                trimmed(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
            section = &read.sections.emplace_back(
                StoryboardSection{name, number, {}, {}, action_number(name)});
            continue;
        }
        // Where the trimmed line has its "=": the blanks before it hold none.
        const std::size_t equals =
            marks.equals == std::string_view::npos
                ? marks.equals
                : marks.equals - static_cast<std::size_t>(line.data() - uncommented.data());
        if (section && section->action && equals == std::string_view::npos &&
            marks.comma != std::string_view::npos) {
            section->frames.push_back(ActionLine{{}, number});
            action_lines.push_back(line);
            continue;
        }
        StoryboardKey key{
            trimmed(line.substr(0, equals)), {}, number, equals != std::string_view::npos};
        if (key.has_value)
            key.value = trimmed(line.substr(equals + 1));
        (section ? section->keys : read.loose_keys).push_back(key);
    }
    split_action_lines(read.sections, action_lines, read.values_);
    const bool scenes =
        std::any_of(read.sections.begin(), read.sections.end(),
                    [](const StoryboardSection& s) { return is_scene_section(s.name); });
    if (!read.find("SceneDef") && !scenes)
        return std::string(
            "no es un storyboard: no tiene la sección [SceneDef] ni ninguna [Scene N]");
    return read;
}

}  // namespace tavrix
