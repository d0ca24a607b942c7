// Arbitrary bytes as a storyboard file read as engines read one: the reader never crashes,
// and what it reads is what the file says. Every name and value is UTF-8 without the blanks
// around it or a comment, each line is read once in file order, and the sections, keys and
// frame lines written out again in the plainest form read back as the same.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/encoding.h"
#include "fuzz_check.h"
#include "storyboard/storyboard_text.h"

namespace {

using tavrix::StoryboardSection;
using tavrix::StoryboardText;
using tavrix::fuzz::require;

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// A piece of a line as the reader gives it: what the line held between the marks around it.
void check_piece(std::string_view piece, std::string_view marks) {
    require(tavrix::is_valid_utf8(piece), "a piece of a line is UTF-8", piece);
    require(piece.empty() || (!is_blank(piece.front()) && !is_blank(piece.back())),
            "a piece of a line has no blanks around it", piece);
    require(piece.find_first_of(marks) == std::string_view::npos,
            "a piece of a line holds none of the marks around it", piece);
}

// The line numbers of a section's keys and frames come after its heading, each in turn.
void check_lines(const StoryboardSection& section, std::size_t& last) {
    require(section.line > last, "the sections come in file order");
    last = section.line;
    std::size_t key_line = last;
    for (const auto& key : section.keys) {
        require(key.line > key_line, "a section's keys come in file order");
        key_line = key.line;
    }
    std::size_t frame_line = last;
    for (const auto& frame : section.frames) {
        require(frame.line > frame_line, "a section's frames come in file order");
        require(frame.values.size() >= 2, "a frame line has a comma");
        frame_line = frame.line;
    }
    last = std::max({last, key_line, frame_line});
}

void check_pieces(const StoryboardText& text) {
    for (const auto& key : text.loose_keys) {
        check_piece(key.name, ";=\n");
        check_piece(key.value, ";\n");
    }
    for (const auto& section : text.sections) {
        check_piece(section.name, ";]\n");
        require(section.frames.empty() || section.action, "only an action has frame lines");
        for (const auto& key : section.keys) {
            check_piece(key.name, ";=\n");
            check_piece(key.value, ";\n");
            require(key.has_value || key.value.empty(), "a key without \"=\" has no value");
        }
        for (const auto& frame : section.frames) {
            for (std::string_view value : frame.values)
                check_piece(value, ";,=\n");
        }
    }
}

// The read text written again in the plainest form: a heading, then "name = value" lines,
// then the frame lines, each ended by CR LF. A lone CR inside a line stays where it was.
std::string written_again(const StoryboardText& text) {
    std::string out;
    const auto key_line = [&out](const tavrix::StoryboardKey& key) {
        out.append(key.name);
        if (key.has_value)
            out.append(" = ").append(key.value);
        out.append("\r\n");
    };
    for (const auto& key : text.loose_keys)
        key_line(key);
    for (const auto& section : text.sections) {
        out.append("[").append(section.name).append("]\r\n");
        for (const auto& key : section.keys)
            key_line(key);
        for (const auto& frame : section.frames) {
            for (std::size_t i = 0; i < frame.values.size(); ++i)
                out.append(i == 0 ? "" : ", ").append(frame.values[i]);
            out.append("\r\n");
        }
    }
    return out;
}

// The reader takes its bytes as Windows-1252: text that is already UTF-8 comes back with
// each byte taken as one character.
std::string as_read(std::string_view utf8) {
    std::string out;
    tavrix::append_utf8_from_windows_1252(utf8, out);
    return out;
}

void check_read_again(const StoryboardText& text) {
    const auto again = tavrix::read_storyboard_text(written_again(text));
    require(again.ok(), "a storyboard written again reads", again.ok() ? "" : again.error());
    const StoryboardText& back = again.value();
    require(back.loose_keys.size() == text.loose_keys.size() &&
                back.sections.size() == text.sections.size(),
            "a storyboard written again has the same sections");
    const auto same_keys = [](const auto& a, const auto& b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (b[i].name != as_read(a[i].name) || b[i].value != as_read(a[i].value) ||
                b[i].has_value != a[i].has_value)
                return false;
        }
        return true;
    };
    require(same_keys(text.loose_keys, back.loose_keys), "the keys before any section");
    for (std::size_t s = 0; s < text.sections.size(); ++s) {
        const StoryboardSection& was = text.sections[s];
        const StoryboardSection& is = back.sections[s];
        require(is.name == as_read(was.name) && is.action == was.action, "a section's heading",
                was.name);
        require(same_keys(was.keys, is.keys), "a section's keys", was.name);
        require(is.frames.size() == was.frames.size(), "a section's frame lines", was.name);
        for (std::size_t f = 0; f < was.frames.size(); ++f) {
            const auto& values = was.frames[f].values;
            require(is.frames[f].values.size() == values.size(), "a frame line's values");
            for (std::size_t v = 0; v < values.size(); ++v)
                require(is.frames[f].values[v] == as_read(values[v]), "a frame value", values[v]);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = tavrix::read_storyboard_text(bytes);
    if (!read.ok()) {
        require(read.error().starts_with("no es un storyboard"), "a refusal says why",
                read.error());
        return 0;
    }
    require(bytes.find('\0') == std::string_view::npos, "a file holding a NUL is refused");
    const StoryboardText& text = read.value();
    const auto* scene_def = text.find("SceneDef");
    require(!scene_def || tavrix::same_name(scene_def->name, "scenedef"),
            "a section is found by its name in any case");
    std::size_t last = 0;
    for (const auto& key : text.loose_keys) {
        require(key.line > last, "the keys before any section come in file order");
        last = key.line;
    }
    for (const auto& section : text.sections)
        check_lines(section, last);
    check_pieces(text);
    check_read_again(text);
    return 0;
}
