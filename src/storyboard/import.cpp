#include "storyboard/import.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "common/numbers.h"
#include "model/controls.h"
#include "storyboard/action.h"
#include "storyboard/engine_reading.h"
#include "storyboard/frame_split.h"
#include "storyboard/keys.h"
#include "storyboard/writer.h"

namespace tavrix {
namespace {

using S = Storyboard;

constexpr std::string_view kNoField = "la ventana no tiene campo para esta clave.";

std::string quoted(std::string_view text) {
    return "«" + std::string(text) + "»";
}

// The values between the commas, without the blanks around them: `count` of them, the
// missing ones empty; the last of `values` when there are more than `count`.
std::vector<std::string_view> split_values(std::string_view text, std::size_t count, bool& extra) {
    std::vector<std::string_view> values;
    extra = false;
    if (count == 1) {
        values.push_back(text);
        return values;
    }
    for (;;) {
        const std::size_t comma = text.find(',');
        const std::string_view value = trim_blanks(text.substr(0, comma));
        if (values.size() < count)
            values.push_back(value);
        else
            extra = extra || !value.empty();
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    values.resize(count);
    return values;
}

// A key of the scene as the file gives it: its line and its values.
struct Given {
    const StoryboardKey* key = nullptr;
    std::vector<std::string_view> values;

    std::string value(std::size_t i = 0) const {
        return key ? std::string(values[i]) : std::string();
    }
};
using SceneKeys = std::map<Key, Given>;

// How many values a key's line holds: one per field ("clearcolor = R,G,B" three), a file
// name one, commas and all.
std::size_t value_count(const KeyDef& def) {
    if (def.holds == KeyValue::Fixed)
        return static_cast<std::size_t>(std::count(def.fixed.begin(), def.fixed.end(), ',')) + 1;
    if (def.holds == KeyValue::FileName)
        return 1;
    return std::max<std::size_t>(1, static_cast<std::size_t>(std::count_if(
                                        def.fields.begin(), def.fields.end(),
                                        [](const auto& field) { return field.has_value(); })));
}

// Whether the values read as the key's fixed value does: "0, 0,0" as "0,0,0", "anim" as
// "Anim".
bool holds_fixed(const KeyDef& def, const std::vector<std::string_view>& values) {
    bool extra = false;
    const auto fixed = split_values(def.fixed, values.size(), extra);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const bool same = is_plain_whole(fixed[i])
                              ? leading_number(values[i]) == leading_number(fixed[i])
                              : same_name(values[i], fixed[i]);
        if (!same)
            return false;
    }
    return true;
}

// "layer3.anim" and the like: a layer the window does not have.
bool other_layer_key(std::string_view name) {
    return name.size() > 6 && same_name(name.substr(0, 5), "layer") && name[5] >= '1' &&
           name[5] <= '9' && name[6] == '.';
}

bool is_element_of(std::string_view section, std::string_view background) {
    if (section.size() < background.size() ||
        !same_name(section.substr(0, background.size()), background))
        return false;
    return section.size() == background.size() || section[background.size()] == ' ';
}

bool ends_in_def(std::string_view name) {
    return name.size() > 3 && same_name(name.substr(name.size() - 3), "Def");
}

std::optional<long long> action_number(std::string_view text) {
    text = trim_blanks(text);
    long long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

// A value that no frame line lacks: an engine reads a missing one as 0.
constexpr std::string_view kMissingValue = "0";

class Importer {
  public:
    explicit Importer(const StoryboardText& text)
        : text_(text), sections_(text.sections), used_(text.sections.size(), false) {}

    ImportedStoryboard run() {
        for (const StoryboardKey& key : text_.loose_keys)
            note(key.line, {}, quoted(key.name) + " no se toma: está fuera de toda sección.");
        header();
        std::size_t count = 0;
        for (std::size_t i = 0; i < sections_.size(); ++i) {
            if (!is_scene_section(sections_[i].name))
                continue;
            used_[i] = true;
            if (count < kImportedScenes) {
                out_.storyboard.scenes.push_back(scene(i, count));
            } else {
                note(sections_[i].line, "[" + std::string(sections_[i].name) + "]",
                     "la escena no se toma: la ventana guarda diez escenas como mucho.");
            }
            ++count;
        }
        leftovers();
        std::stable_sort(notes_.begin(), notes_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& [line, text] : notes_)
            out_.not_taken.push_back(std::move(text));
        return std::move(out_);
    }

  private:
    // "Escena 2, línea 14: " and what is not taken, kept in the order of the file.
    void note(std::size_t line, const std::string& where, const std::string& what) {
        std::string text = where.empty() ? std::string() : where + ", ";
        text += "línea " + std::to_string(line) + ": " + what;
        notes_.emplace_back(line, std::move(text));
    }

    void header() {
        const StoryboardSection* section = text_.find("SceneDef");
        if (!section)
            return;
        used_[static_cast<std::size_t>(section - sections_.data())] = true;
        const std::string where = "[SceneDef]";
        std::array<bool, 2> seen{};
        for (const StoryboardKey& key : section->keys) {
            const KeyDef* def = find_key_def(SectionKind::SceneDef, key.name);
            if (!def) {
                note(key.line, where, quoted(key.name) + " no se toma: " + std::string(kNoField));
            } else if (seen[static_cast<std::size_t>(def->key)]) {
                note(key.line, where, twice(key));
            } else {
                seen[static_cast<std::size_t>(def->key)] = true;
                if (def->key == Key::SpriteFile)
                    out_.storyboard.header.sprite_file = key.value;
                else
                    take_start_scene(key, where);
            }
        }
    }

    // The window holds a start scene of 0 to 9.
    void take_start_scene(const StoryboardKey& key, const std::string& where) {
        const std::string_view value = trim_blanks(key.value);
        const std::optional<double> number = strict_number(value);
        if (is_plain_whole(value) && value.front() != '-' && number && *number <= 9) {
            out_.storyboard.header.start_scene = std::string(value);
            return;
        }
        note(key.line, where,
             quoted(key.name) + " no se toma: «" +
                 std::string(control_def(ControlId::Label17).text) +
                 "» va de 0 a 9 y el archivo dice " + quoted(key.value) + ".");
    }

    static std::string twice(const StoryboardKey& key) {
        return quoted(key.name) + " no se toma: la clave se repite y vale la primera.";
    }

    void take_scene_key(const StoryboardKey& key, SceneKeys& keys, const std::string& where) {
        const KeyDef* def = find_key_def(SectionKind::Scene, key.name);
        if (!key.has_value) {
            note(key.line, where,
                 quoted(key.name) + " no se toma: no es una línea «clave = valor».");
            return;
        }
        if (!def) {
            note(key.line, where,
                 quoted(key.name) + " no se toma: " +
                     (other_layer_key(key.name) ? std::string("la ventana solo tiene la capa 0.")
                                                : std::string(kNoField)));
            return;
        }
        Given& given = keys[def->key];
        if (given.key) {
            note(key.line, where, twice(key));
            return;
        }
        bool extra = false;
        const std::size_t count = value_count(*def);
        given = {&key, split_values(key.value, count, extra)};
        if (extra) {
            note(key.line, where,
                 quoted(key.name) + ": la ventana toma " + (count == 2 ? "dos" : "tres") +
                     " valores y los demás no se toman.");
        }
    }

    S::Scene scene(std::size_t section, std::size_t index) {
        const std::string where = "Escena " + std::to_string(index);
        SceneKeys keys;
        for (const StoryboardKey& key : sections_[section].keys)
            take_scene_key(key, keys, where);
        const auto at = [&keys](Key key) -> const Given& { return keys[key]; };
        S::Scene scene;
        if (at(Key::FadeInTime).key || at(Key::FadeInColour).key || at(Key::FadeOutTime).key) {
            const Given& colour = at(Key::FadeInColour);
            scene.fade = S::Fade{at(Key::FadeInTime).value(),
                                 {colour.value(0), colour.value(1), colour.value(2)},
                                 at(Key::FadeOutTime).value()};
        }
        if (const Given& out = at(Key::FadeOutColour);
            out.key && !holds_fixed(key_def(Key::FadeOutColour), out.values))
            note(out.key->line, where,
                 quoted(out.key->name) +
                     " no se toma: el fundido de salida de la ventana "
                     "es siempre negro.");
        const Given& clear = at(Key::ClearColour);
        scene.clear_colour = {clear.value(0), clear.value(1), clear.value(2)};
        scene.layer = {at(Key::LayerAnimation).value(),
                       {at(Key::LayerPosition).value(0), at(Key::LayerPosition).value(1)},
                       {at(Key::LayerOffset).value(0), at(Key::LayerOffset).value(1)},
                       at(Key::LayerStartTime).value()};
        if (at(Key::Music).key) {
            scene.music = S::Music{at(Key::Music).value(), at(Key::MusicLoops).value()};
        } else if (const Given& loops = at(Key::MusicLoops); loops.key) {
            note(loops.key->line, where,
                 quoted(loops.key->name) + " no se toma: sin «bgm» la ventana no tiene música.");
        }
        scene.background = background(section, at(Key::BackgroundName), where);
        if (const Given& action = at(Key::LayerAnimation); action.key) {
            scene.action = action_rows(action, where);
        } else {
            note(sections_[section].line, where,
                 "la escena no tiene " + quoted(key_def(Key::LayerAnimation).name) +
                     ": en la ventana toda escena tiene su capa 0, y el archivo que se escriba "
                     "la tendrá.");
        }
        if (const Given& length = at(Key::SceneLength); length.key)
            check_length(length, scene, where);
        return scene;
    }

    // The window works the length out from the action again: a different one is not taken.
    void check_length(const Given& length, const S::Scene& scene, const std::string& where) {
        const std::optional<std::int32_t> ticks = action_ticks(scene.action);
        const std::optional<double> given = strict_number(length.values[0]);
        if (ticks && given && *given == scene_length(scene.layer.start_time, *ticks))
            return;
        std::string what =
            quoted(length.key->name) + " no se toma: la ventana lo calcula de la acción";
        if (ticks)
            what += ", " + number_text(scene_length(scene.layer.start_time, *ticks));
        note(length.key->line, where, what + ".");
    }

    // The first section of that name, in any case.
    std::optional<std::size_t> section_named(std::string_view name) const {
        for (std::size_t i = 0; i < sections_.size(); ++i) {
            if (same_name(sections_[i].name, name))
                return i;
        }
        return std::nullopt;
    }

    // The background that bg.name names, or without it the one that follows the scene, as
    // "Generar!" writes it.
    std::optional<S::Background> background(std::size_t scene, const Given& name,
                                            const std::string& where) {
        std::optional<std::size_t> def;
        std::string prefix;
        if (name.key) {
            prefix = name.value();
            def = section_named(prefix + "Def");
            if (!def) {
                note(name.key->line, where,
                     quoted(name.key->name) + " no se toma: el archivo no tiene [" + prefix +
                         "Def].");
                return std::nullopt;
            }
        } else {
            for (std::size_t i = scene + 1;
                 i < sections_.size() && !is_scene_section(sections_[i].name) && !def; ++i) {
                if (ends_in_def(sections_[i].name) && !used_[i]) {
                    def = i;
                    prefix = sections_[i].name.substr(0, sections_[i].name.size() - 3);
                }
            }
            if (!def)
                return std::nullopt;
        }
        used_[*def] = true;
        for (const StoryboardKey& key : sections_[*def].keys)
            note(key.line, where, quoted(key.name) + " no se toma: " + std::string(kNoField));
        return background_element(prefix, where);
    }

    std::optional<S::Background> background_element(std::string_view prefix,
                                                    const std::string& where) {
        std::optional<S::Background> taken;
        for (std::size_t i = 0; i < sections_.size(); ++i) {
            const StoryboardSection& section = sections_[i];
            if (!is_element_of(section.name, prefix))
                continue;
            used_[i] = true;
            const std::string name = "[" + std::string(section.name) + "]";
            if (taken) {
                note(section.line, where,
                     name + " no se toma: la ventana tiene un solo elemento de fondo.");
            } else {
                taken = element(section, where);
            }
        }
        return taken;
    }

    // A masked, animated element; any other kind is not taken.
    std::optional<S::Background> element(const StoryboardSection& section,
                                         const std::string& where) {
        S::Background background;
        std::map<Key, bool> seen;
        bool animated = false;
        for (const StoryboardKey& key : section.keys) {
            const KeyDef* def = find_key_def(SectionKind::Background, key.name);
            if (!def) {
                note(key.line, where, quoted(key.name) + " no se toma: " + std::string(kNoField));
                continue;
            }
            if (seen[def->key]) {
                note(key.line, where, twice(key));
                continue;
            }
            seen[def->key] = true;
            bool extra = false;
            const auto values = split_values(key.value, value_count(*def), extra);
            if (def->key == Key::BackgroundType) {
                animated = holds_fixed(*def, values);
            } else if (def->key == Key::BackgroundAction) {
                background.action = values[0];
            } else if (def->key == Key::BackgroundStart) {
                background.start = {std::string(values[0]), std::string(values[1])};
            } else if (!holds_fixed(*def, values)) {
                note(key.line, where,
                     quoted(key.name) +
                         " no se toma: el fondo de la ventana siempre lleva "
                         "máscara.");
            }
        }
        if (!animated) {
            note(section.line, where,
                 "[" + std::string(section.name) + "] no se toma: la ventana solo tiene un fondo " +
                     "animado («" + std::string(key_name(Key::BackgroundType)) + " = " +
                     std::string(key_def(Key::BackgroundType).fixed) + "»).");
            return std::nullopt;
        }
        return background;
    }

    // The rows of the action that layer 0 plays, split once however many scenes play it.
    std::vector<S::Row> action_rows(const Given& number, const std::string& where) {
        const std::optional<long long> wanted = action_number(number.value());
        std::optional<std::size_t> found;
        for (std::size_t i = 0; i < sections_.size() && !found && wanted; ++i) {
            if (sections_[i].action == wanted)
                found = i;
        }
        if (!found) {
            note(number.key->line, where,
                 quoted(number.key->name) + ": el archivo no tiene [Begin action " +
                     number.value() + "], y la acción queda vacía.");
            return {};
        }
        used_[*found] = true;
        if (const auto split = splits_.find(*found); split != splits_.end())
            return split->second;
        return splits_[*found] = split_action(sections_[*found], where);
    }

    std::vector<S::Row> split_action(const StoryboardSection& section, const std::string& where) {
        const std::string name = "[" + std::string(section.name) + "]";
        for (const StoryboardKey& key : section.keys)
            note(key.line, where,
                 name + ": " + quoted(key.name) + " no se toma: " + std::string(kNoField));
        std::vector<FrameValues> frames;
        frames.reserve(section.frames.size());
        std::size_t flipped = 0;
        std::size_t first_flipped = 0;
        for (const ActionLine& line : section.frames) {
            FrameValues values;
            for (std::size_t r = 0; r < kRangeCount; ++r)
                values[r] = r < line.values.size() ? line.values[r] : kMissingValue;
            const bool extra =
                std::any_of(line.values.begin() + std::min(line.values.size(), kRangeCount),
                            line.values.end(), [](std::string_view v) { return !v.empty(); });
            if (extra && flipped++ == 0)
                first_flipped = line.line;
            frames.push_back(values);
        }
        if (flipped > 0) {
            note(first_flipped, where,
                 name + ": " + std::to_string(flipped) +
                     (flipped == 1 ? " línea lleva volteo o mezcla, que no se toma"
                                   : " líneas llevan volteo o mezcla, que no se toman (la "
                                     "primera es esta)") +
                     ".");
        }
        const FrameSplit split = split_frames(frames, kImportedRows);
        if (split.frames_taken < frames.size())
            note_cut(section, split, frames.size(), where);
        std::vector<S::Row> rows;
        for (const RangeRow& row : split.rows)
            rows.push_back(range_row(row.from, row.to));
        return rows;
    }

    void note_cut(const StoryboardSection& section, const FrameSplit& split, std::size_t frames,
                  const std::string& where) {
        const std::size_t line = section.frames[split.frames_taken].line;
        const std::string name = "[" + std::string(section.name) + "]";
        if (split.rows.size() < kImportedRows) {
            note(line, where,
                 name + ": ninguna animación da el marco " +
                     std::to_string(split.frames_taken + 1) +
                     " ni los que siguen, que no se toman.");
            return;
        }
        note(line, where,
             name + ": diez animaciones dan los " + std::to_string(split.frames_taken) +
                 " primeros de " + std::to_string(frames) + " marcos; desde este no se toman.");
    }

    // The sections that no scene took.
    void leftovers() {
        for (std::size_t i = 0; i < sections_.size(); ++i) {
            if (used_[i])
                continue;
            const StoryboardSection& section = sections_[i];
            const std::string name = "[" + std::string(section.name) + "]";
            std::string why = "la ventana no tiene dónde guardarla.";
            if (section.action) {
                const bool repeated = std::any_of(
                    sections_.begin(), sections_.begin() + static_cast<std::ptrdiff_t>(i),
                    [&](const StoryboardSection& s) { return s.action == section.action; });
                why = repeated
                          ? "ya hay otra acción con ese número antes, y un motor toma la primera."
                          : "ninguna capa 0 de las escenas tomadas la juega.";
            }
            note(section.line, {}, name + " no se toma: " + why);
        }
    }

    const StoryboardText& text_;
    const std::vector<StoryboardSection>& sections_;
    std::vector<bool> used_;
    std::map<std::size_t, std::vector<S::Row>> splits_;
    std::vector<std::pair<std::size_t, std::string>> notes_;
    ImportedStoryboard out_;
};

}  // namespace

ImportedStoryboard import_storyboard(const StoryboardText& text) {
    return Importer(text).run();
}

}  // namespace tavrix
