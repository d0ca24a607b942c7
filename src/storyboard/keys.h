// The keys of a storyboard file, listed once: the section each stands in, its name as the
// file spells it, what its value holds and the fields it comes from. "Generar!" writes them
// by this table, "Comprobar" names them and reads their values by it, and a file read back
// matches its keys against it in any case: a key the table lacks is one the editor does not
// take.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/controls.h"
#include "storyboard/storyboard.h"
#include "storyboard/storyboard_text.h"

namespace tavrix {

// "[SceneDef]"; "[Scene N]"; a background's "[BG1Def]" and its element "[BG1]".
enum class SectionKind : std::uint8_t { SceneDef, Scene, BackgroundDef, Background };

enum class Key : std::uint8_t {
    SpriteFile,
    StartScene,
    FadeInTime,
    FadeInColour,
    FadeOutTime,
    FadeOutColour,
    ClearColour,
    LayerPosition,
    LayerAnimation,
    LayerOffset,
    LayerStartTime,
    SceneLength,
    BackgroundName,
    Music,
    MusicLoops,
    BackgroundType,
    BackgroundAction,
    BackgroundStart,
    BackgroundMask,
};

// What a key's value holds.
enum class KeyValue : std::uint8_t {
    FileName,
    WholeNumbers,  // one per field, between commas, each read as a plain whole number
    ActionNumber,  // the number of the "[Begin action N]" that the layer plays
    Length,        // the scene's length in ticks, from the layer's start time and the action
    ElementName,   // the name of the scene's background element
    Fixed,         // always `fixed`
};

struct KeyDef {
    Key key;
    SectionKind section;
    std::string_view name;  // as "Generar!" writes it
    KeyValue holds;
    // The fields whose texts the value joins with commas, in order; none when the editor
    // makes the value itself.
    std::array<std::optional<ControlId>, 3> fields;
    std::string_view fixed;  // the value of a Fixed key
};

// Every key, in the order "Generar!" writes them.
[[nodiscard]] std::span<const KeyDef> key_defs();
[[nodiscard]] const KeyDef& key_def(Key key);
[[nodiscard]] std::string_view key_name(Key key);

// The key of that text in that kind of section, in any case; none when the table has no
// such key there.
[[nodiscard]] const KeyDef* find_key_def(SectionKind section, std::string_view text);

// The key in a section that a file holds, in any case; the first when it is given twice.
[[nodiscard]] const StoryboardKey* find_key(const StoryboardSection& section, Key key);

// The texts of a key's fields as typed, in the storyboard's header or in one of its scenes,
// one per field; empty for a key that no field gives or that the header or scene does not
// have ("fadein.time" without a fade).
[[nodiscard]] std::vector<std::string_view> typed_parts(const Storyboard::Header& header, Key key);
[[nodiscard]] std::vector<std::string_view> typed_parts(const Storyboard::Scene& scene, Key key);

}  // namespace tavrix
