// Import, then export: every storyboard file that the scenario goldens hold (those "Generar!"
// and "Generar storyboard completo" wrote) comes back with the same scenes, keys and frame
// lines, read as an engine reads them. The differences allowed: comments, blank lines, key
// order and the case of names; the blanks around a value; the keys the window works out
// again (end.time, bg.name) and the names of the background sections; a value that reads as
// 0 written "0", as the window's fields show it; and an action that several scenes play
// written once. Nothing of these files may be reported as not taken, but for two, which the
// test names.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "common/numbers.h"
#include "storyboard/engine_reading.h"
#include "storyboard/storyboard_text.h"
#include "support/memory_output.h"

namespace tavrix {
namespace {

// A value as the round trip may give it back.
std::string plain(std::string_view value) {
    value = trim_blanks(value);
    return leading_number(value) == 0 && value != "-" ? "0" : std::string(value);
}

std::string lower(std::string_view name) {
    std::string text(name);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// What an engine plays of a file: per scene its keys, its background element's keys and its
// layer's frame lines, each value plain.
using Keys = std::map<std::string, std::string>;
struct Played {
    Keys header;
    std::vector<Keys> scenes;
    std::vector<Keys> backgrounds;
    std::vector<std::vector<std::vector<std::string>>> frames;
    bool operator==(const Played&) const = default;
};

Keys keys_of(const StoryboardSection& section) {
    Keys keys;
    for (const StoryboardKey& key : section.keys) {
        std::string value;
        std::string_view rest = key.value;
        for (std::size_t comma; (comma = rest.find(',')) != rest.npos;
             rest.remove_prefix(comma + 1))
            value += plain(rest.substr(0, comma)) + ",";
        keys.emplace(lower(key.name), value + plain(rest));
    }
    return keys;
}

Played played(const StoryboardText& text) {
    Played out;
    if (const StoryboardSection* header = text.find("SceneDef"))
        out.header = keys_of(*header);
    const auto& sections = text.sections;
    for (auto s = sections.begin(); s != sections.end(); ++s) {
        if (!is_scene_section(s->name))
            continue;
        Keys keys = keys_of(*s);
        const auto next = std::find_if(s + 1, sections.end(), [](const StoryboardSection& n) {
            return is_scene_section(n.name);
        });
        // The element that follows the scene, named by bg.name or not.
        const auto element = std::find_if(s + 1, next, [](const StoryboardSection& n) {
            return !n.name.ends_with("Def") && !n.action;
        });
        out.backgrounds.push_back(element != next ? keys_of(*element) : Keys{});
        const std::string number = keys["layer0.anim"];
        const auto action = std::find_if(sections.begin(), sections.end(), [&](const auto& a) {
            return a.action && same_action_number(std::to_string(*a.action), number);
        });
        static const std::vector<ActionLine> kNoFrames;
        std::vector<std::vector<std::string>> frames;
        for (const ActionLine& line : action != sections.end() ? action->frames : kNoFrames) {
            std::vector<std::string> values;
            for (std::string_view value : line.values)
                values.push_back(plain(value));
            frames.push_back(values);
        }
        out.frames.push_back(frames);
        keys.erase("end.time");
        keys.erase("bg.name");
        out.scenes.push_back(keys);
    }
    return out;
}

std::string bytes_of(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

TEST(RoundTrip, EveryGoldenStoryboardComesBack) {
    std::size_t files = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(TAVRIX_SOURCE_DIR "/tests/scenarios")) {
        if (entry.path().extension() != ".def")
            continue;
        ++files;
        SCOPED_TRACE(entry.path().filename().string());
        testing::MemoryForm f;
        f.file->committed = bytes_of(entry.path());
        const auto original = read_storyboard_text(f.file->committed);
        ASSERT_TRUE(original.ok()) << original.error();
        const auto imported = f.form.import_storyboard("in.def");
        ASSERT_TRUE(imported.ok()) << imported.error();
        // Two files hold what the window cannot take: every value turned into "?" marks
        // (neither the start scene nor the action number is a number), and a scene made by
        // a line break typed into a field, which has no layer.
        const std::string name = entry.path().filename().string();
        const bool marks = name == "replaced_characters_each_field.def";
        const bool layerless = name == "line_break_as_typed.def";
        EXPECT_EQ(imported.value().size(), marks ? 3U : layerless ? 1U : 0U);
        ASSERT_TRUE(f.form.export_storyboard("out.def").ok());
        const std::string exported = f.file->committed;
        const auto again = read_storyboard_text(exported);
        ASSERT_TRUE(again.ok());
        if (!marks && !layerless) {
            EXPECT_TRUE(played(again.value()) == played(original.value())) << exported;
        }
        // The window's own file comes back byte for byte.
        ASSERT_TRUE(f.form.import_storyboard("out.def").ok());
        ASSERT_TRUE(f.form.export_storyboard("out.def").ok());
        EXPECT_EQ(f.file->committed, exported);
    }
    EXPECT_GT(files, 30U);
}

}  // namespace
}  // namespace tavrix
