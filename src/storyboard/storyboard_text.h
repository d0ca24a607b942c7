// A storyboard file read as game engines read one: Windows-1252 text in lines ended by
// CR LF or LF, "[...]" section headings, "key = value" lines, ";" starting a comment
// wherever it stands, blank lines ignored, section and key names in any case and in any
// order. An action section ("[Begin action N]") holds frame lines instead of keys.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/expected.h"

namespace tavrix {

// A line of the file, numbered from 1, without its comment and the blanks around it.
struct StoryboardKey {
    std::string_view name;   // before the "=", or the whole line when it has none
    std::string_view value;  // after the "="
    std::size_t line;
    bool has_value;  // the line has an "="
};

// A line of an action that is not a key: the values between its commas, each without the
// blanks around it ("0,1, 10,0, 15" gives five). The values of every line are kept one
// after another by the text, so that a long action is not a million small allocations.
struct ActionLine {
    std::span<const std::string_view> values;
    std::size_t line;
};

struct StoryboardSection {
    std::string_view name;  // between the brackets, without the blanks around it
    std::size_t line;
    std::vector<StoryboardKey> keys;
    // Only in an action section: its frame lines, in order.
    std::vector<ActionLine> frames;
    std::optional<long long> action;  // the number of "[Begin action N]"
};

// The sections of a file in the order in which they stand. Every name and value is UTF-8 and
// points into the text that the value keeps, so it moves without copying.
class StoryboardText {
  public:
    std::vector<StoryboardKey> loose_keys;  // key lines before the first section
    std::vector<StoryboardSection> sections;

    // The first section of that name, in any case; none when there is none.
    [[nodiscard]] const StoryboardSection* find(std::string_view name) const;

  private:
    friend Expected<StoryboardText, std::string> read_storyboard_text(std::string_view bytes);
    std::unique_ptr<std::string> text_ = std::make_unique<std::string>();
    std::vector<std::string_view> values_;  // of every action line, in file order
};

// Whether two names are the same in any case (ASCII letters), as engines compare them.
[[nodiscard]] bool same_name(std::string_view a, std::string_view b) noexcept;

// "Scene 3" in any case: a scene's section. Engines play them in file order.
[[nodiscard]] bool is_scene_section(std::string_view name);

// The key of that name in the section, in any case; the first when it is given twice.
[[nodiscard]] const StoryboardKey* find_key(const StoryboardSection& section,
                                            std::string_view name);

// A file larger than this is refused before it is read as text.
inline constexpr std::size_t kStoryboardFileLimit = std::size_t{64} << 20;

// The sections of the file, or why it is not a storyboard, in Spanish ("no tiene la sección
// [SceneDef] ni ninguna [Scene N]"): a file holding a NUL byte, or without a [SceneDef] and
// a [Scene N] section, is not one.
[[nodiscard]] Expected<StoryboardText, std::string> read_storyboard_text(std::string_view bytes);

}  // namespace tavrix
