#include "storyboard/writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "common/encoding.h"
#include "common/numbers.h"
#include "model/names.h"
#include "model/ranges.h"
#include "storyboard/action.h"
#include "storyboard/block_writer.h"
#include "storyboard/broken_lines.h"
#include "storyboard/frame_count.h"
#include "storyboard/frame_expansion.h"
#include "storyboard/keys.h"
#include "storyboard/messages.h"
#include "storyboard/shared_actions.h"

namespace tavrix {
namespace {

using S = Storyboard;
using C = ControlId;

std::string quoted(std::string_view text) {
    return quoted_for_message(text);
}

std::string quoted_path(std::string_view path) {
    return quoted_for_message(path, kMessagePathLimit);
}

// The typed texts of the keys of the header or a scene (`scene` none for the header's).
template <typename Part>
void add_key_texts(const Part& part, std::optional<std::size_t> scene,
                   std::vector<WrittenText>& texts) {
    for (const KeyDef& def : key_defs()) {
        const std::vector<std::string_view> parts = typed_parts(part, def.key);
        for (std::size_t i = 0; i < parts.size(); ++i)
            texts.push_back({*def.fields[i], scene, parts[i]});
    }
}

// The name of scene `index`'s background element, one per scene.
std::string background_name(std::size_t index) {
    return "BG" + std::to_string(index + 1);
}

// Whether scene `index` writes its own action: no earlier scene's layer plays that number.
bool writes_action(const Storyboard& storyboard, std::size_t index) {
    return action_owner(storyboard, index) == index;
}

// The first text that would break its line, when the file is to be engine-ready.
std::optional<WrittenText> first_broken_line(const Storyboard& storyboard) {
    const bool engine_ready = std::any_of(storyboard.scenes.begin(), storyboard.scenes.end(),
                                          [](const S::Scene& scene) { return scene.engine_keys; });
    if (!engine_ready)
        return std::nullopt;
    for (const WrittenText& text : written_texts(storyboard)) {
        if (breaks_line(text.text))
            return text;
    }
    return std::nullopt;
}

// Where a failure happened: a scene, and a row of its action when it was one.
struct Place {
    std::size_t scene;
    std::optional<std::size_t> row;
};

// Adds `ticks` to the run's total; false when it would leave its range.
bool add_ticks(std::int32_t& total, std::int32_t ticks) {
    const std::int64_t sum = std::int64_t{total} + ticks;
    if (sum < std::numeric_limits<std::int32_t>::min() ||
        sum > std::numeric_limits<std::int32_t>::max())
        return false;
    total = static_cast<std::int32_t>(sum);
    return true;
}

class Run {
  public:
    Run(const Storyboard& storyboard, std::string_view path, Output& output,
        const RunSettings& settings)
        : storyboard_(storyboard), path_(path), settings_(settings), writer_(output, settings) {}

    RunResult write_file(Output& output) {
        if (const IoStatus opened = output.open(path_); !opened.ok())
            return file_failure("No se pudo crear el archivo ", opened.reason());
        write_header();
        std::int32_t total = 0;
        for (std::size_t i = 0; i < storyboard_.scenes.size(); ++i) {
            const auto ticks = write_scene(i);
            if (!ticks.ok())
                return ticks.error();
            if (!add_ticks(total, ticks.value()))
                return tick_total_out_of_range(Place{i, std::nullopt});
        }
        if (const auto flushed = writer_.flush(); !flushed.ok())
            return block_failure(flushed.error());
        if (const IoStatus committed = output.commit(); !committed.ok())
            return file_failure("No se pudo guardar el archivo ", committed.reason());
        return RunTotals{total, time_of_ticks(total), replaced_characters(),
                         storyboard_.scenes.size()};
    }

  private:
    Expected<std::int32_t, RowFailure> count_ticks(const S::Scene& scene) const {
        DiscardOutput discard;
        BlockWriter counter(discard, settings_, LineBytes::Dropped);
        return expand_action(scene.action, settings_.encode, counter);
    }

    // Scene `index` and its action, when it writes one; gives the action's tick total (0
    // without one).
    Expected<std::int32_t, RunFailure> write_scene(std::size_t index) {
        const S::Scene& scene = storyboard_.scenes[index];
        std::optional<std::int32_t> counted;
        if (scene.engine_keys) {
            const auto ticks = count_ticks(scene);
            if (!ticks.ok())
                return expansion_failure(ticks.error(), index);
            counted = ticks.value();
        }
        write_scene_keys(index, scene, counted);
        if (!writes_action(storyboard_, index))
            return 0;
        writer_.text_line({"[Begin action ", scene.layer.animation, "]"});
        const auto expanded = expand_action(scene.action, settings_.encode, writer_);
        if (!expanded.ok())
            return expansion_failure(expanded.error(), index);
        write_trailer(expanded.value());
        return expanded.value();
    }

    // An encoder writes one "?" for each character it cannot hold, and a "?" as itself.
    std::vector<ReplacedCharacters> replaced_characters() const {
        std::vector<ReplacedCharacters> replaced;
        std::string encoded;
        for (const WrittenText& value : written_texts(storyboard_)) {
            if (value.frame)
                continue;  // counted once, it would understate its many frame lines
            encoded.clear();
            settings_.encode(value.text, encoded);
            const auto marks = [](std::string_view text) {
                return static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '?'));
            };
            const std::uint64_t count = marks(encoded) - marks(value.text);
            if (count == 0)
                continue;
            const auto same_field = [&](const ReplacedCharacters& r) {
                return r.field == value.field;
            };
            if (const auto seen = std::find_if(replaced.begin(), replaced.end(), same_field);
                seen != replaced.end())
                seen->count += count;
            else
                replaced.push_back({value.field, count});
        }
        return replaced;
    }

    // One "key = value" line, the value's parts between commas; a fixed key's own value
    // when there are none.
    void key_line(Key key, std::span<const std::string_view> parts) {
        std::array<std::string_view, 8> line{key_name(key), " = "};
        std::size_t size = 2;
        if (parts.empty())
            line[size++] = key_def(key).fixed;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (i != 0)
                line[size++] = ",";
            line[size++] = parts[i];
        }
        writer_.text_line(std::span<const std::string_view>(line.data(), size));
    }
    void key_line(Key key, std::initializer_list<std::string_view> parts = {}) {
        key_line(key, std::span<const std::string_view>(parts.begin(), parts.size()));
    }
    // A key whose value is the fields' texts as typed.
    template <typename Part>
    void typed_key_line(Key key, const Part& part) {
        key_line(key, typed_parts(part, key));
    }

    void write_header() {
        const S::Header& header = storyboard_.header;
        writer_.text_line({"[SceneDef]"});
        typed_key_line(Key::SpriteFile, header);
        if (header.start_scene)
            typed_key_line(Key::StartScene, header);
        writer_.text_line({});
    }

    // `ticks`: the action's tick total, known ahead when the scene has its engine keys.
    void write_scene_keys(std::size_t index, const S::Scene& scene,
                          std::optional<std::int32_t> ticks) {
        auto& w = writer_;
        const std::string background = background_name(index);
        w.text_line({";------------------------------------"});
        w.text_line({"[Scene ", std::to_string(index), "]"});
        if (scene.fade)
            write_fade(scene);
        w.text_line({"; Screen Color"});
        typed_key_line(Key::ClearColour, scene);
        w.text_line({});
        w.text_line({"; Overlay Anims (from 0 to 9)"});
        for (Key key :
             {Key::LayerPosition, Key::LayerAnimation, Key::LayerOffset, Key::LayerStartTime})
            typed_key_line(key, scene);
        if (ticks) {
            key_line(Key::SceneLength, {number_text(scene_length(scene.layer.start_time, *ticks))});
            if (scene.background)
                key_line(Key::BackgroundName, {background});
        }
        if (scene.music)
            write_music(scene);
        if (scene.background)
            write_background(background, scene);
        w.text_line({});
    }

    void write_fade(const S::Scene& scene) {
        writer_.text_line({";Fade"});
        for (Key key : {Key::FadeInTime, Key::FadeInColour, Key::FadeOutTime})
            typed_key_line(key, scene);
        key_line(Key::FadeOutColour);
        writer_.text_line({});
    }

    void write_music(const S::Scene& scene) {
        writer_.text_line({});
        writer_.text_line({"; Music"});
        typed_key_line(Key::Music, scene);
        typed_key_line(Key::MusicLoops, scene);
    }

    // The background's element, named `name`, in the section of that name.
    void write_background(std::string_view name, const S::Scene& scene) {
        auto& w = writer_;
        w.text_line({});
        w.text_line({"[", name, "Def]"});
        w.text_line({});
        w.text_line({"[", name, "]"});
        key_line(Key::BackgroundType);
        typed_key_line(Key::BackgroundAction, scene);
        typed_key_line(Key::BackgroundStart, scene);
        key_line(Key::BackgroundMask);
    }
    void write_trailer(std::int32_t total) {
        writer_.text_line({" "});
        writer_.text_line({"; Tiempo = ", sign_padded_number_text(time_of_ticks(total))});
        writer_.text_line({"; Tics = ", sign_padded_number_text(total)});
    }

    RunFailure file_failure(std::string_view what, const std::string& reason) const {
        return RunFailure{FailureCause::File,
                          std::string(what) + quoted_path(path_) + ": " + reason + "."};
    }

    RunFailure block_failure(const BlockFailure& failure) const {
        if (failure.cancelled)
            return RunFailure{FailureCause::Cancelled, "Generación cancelada."};
        return file_failure("No se pudo escribir en el archivo ", failure.reason);
    }

    RunFailure expansion_failure(const RowFailure& failure, std::size_t scene) const {
        const Place place{scene, failure.row};
        if (const auto* value = std::get_if<NotANumber>(&failure.failure))
            return not_a_number(*value, place);
        if (const auto* block = std::get_if<BlockFailure>(&failure.failure))
            return block_failure(*block);
        return tick_total_out_of_range(place);
    }

    // "escena 2, animación 1: ", when the run names its rows.
    std::string where(const Place& place) const {
        if (!settings_.names_rows)
            return {};
        std::string text = "escena " + std::to_string(place.scene);
        if (place.row)
            text += ", animación " + std::to_string(*place.row);
        return text + ": ";
    }

    RunFailure not_a_number(const NotANumber& value, const Place& place) const {
        const FrameRange& range = kFrameRanges[value.range];
        return RunFailure{FailureCause::Field,
                          "No se pudo generar " + quoted_path(path_) + ": " + where(place) +
                              "el valor " + quoted(value.text) + " de " +
                              quoted(control_name(range.from)) +
                              (is_beyond_double(value.text) ? " es demasiado grande para un número."
                                                            : " no es un número completo.")};
    }

    RunFailure tick_total_out_of_range(const Place& place) const {
        return RunFailure{FailureCause::TickTotal,
                          "No se pudo generar " + quoted_path(path_) + ": " + where(place) +
                              "el total de tics sale del rango de -2147483648 a 2147483647."};
    }

    const Storyboard& storyboard_;
    std::string_view path_;
    const RunSettings& settings_;
    BlockWriter writer_;
};

}  // namespace

std::vector<WrittenText> written_texts(const Storyboard& storyboard) {
    std::vector<WrittenText> texts;
    add_key_texts(storyboard.header, std::nullopt, texts);
    for (std::size_t i = 0; i < storyboard.scenes.size(); ++i) {
        add_key_texts(storyboard.scenes[i], i, texts);
        if (!writes_action(storyboard, i))
            continue;
        for (const S::Row& row : storyboard.scenes[i].action) {
            for (std::size_t range = 0; range < kRangeCount; ++range)
                texts.push_back({kFrameRanges[range].from, i, row[range].from, true});
        }
    }
    return texts;
}

double time_of_ticks(std::int32_t tick_total) {
    return static_cast<double>(static_cast<std::int64_t>(tick_total) * 5) / 300.0;
}

double scene_length(std::string_view start_time, std::int32_t tick_total) {
    const double start = std::trunc(strict_number(start_time).value_or(0));
    return std::max(1.0, start + tick_total);
}

namespace {

// The run's size, and the first row at which it passes `limit` frames (0: none).
struct Measured {
    RunSize size;
    std::optional<Place> past_limit;
};

Measured measure(const Storyboard& storyboard, Encoder encode, std::uint64_t limit) {
    Measured measured;
    RunSize& size = measured.size;
    for (std::size_t i = 0; i < storyboard.scenes.size(); ++i) {
        if (!writes_action(storyboard, i))
            continue;
        const std::vector<S::Row>& rows = storyboard.scenes[i].action;
        for (std::size_t row = 0; row < rows.size(); ++row) {
            const RunSize counted = count_frames(rows[row], encode);
            size.frames += counted.frames;
            size.frame_bytes += counted.frame_bytes;
            size.at_least = size.at_least || counted.at_least;
            if (limit != 0 && size.frames > limit && !measured.past_limit)
                measured.past_limit = Place{i, row};
        }
    }
    return measured;
}

}  // namespace

RunSize measure_run(const Storyboard& storyboard, Encoder encode) {
    return measure(storyboard, encode, 0).size;
}

RunResult write_storyboard(const Storyboard& storyboard, std::string_view path, Output& output,
                           const RunSettings& settings) {
    // Decided before the file is touched, so that a refused run changes nothing.
    if (const std::optional<WrittenText> broken = first_broken_line(storyboard)) {
        return RunFailure{FailureCause::Field,
                          "No se pudo generar " + quoted_path(path) + ": el valor " +
                              quoted(broken->text) + " de " + quoted(control_name(broken->field)) +
                              " tiene " + breaks_text(*broken_value(broken->text)) +
                              ": partiría su línea en el archivo listo para el motor."};
    }
    if (settings.max_frames != 0) {
        const Measured measured = measure(storyboard, settings.encode, settings.max_frames);
        if (const auto& place = measured.past_limit) {
            const std::string at = settings.names_rows
                                       ? " (lo pasa la escena " + std::to_string(place->scene) +
                                             ", animación " + std::to_string(*place->row) + ")"
                                       : std::string();
            return RunFailure{FailureCause::TooManyFrames,
                              "No se generó " + quoted(path) + ": se escribirían " +
                                  run_size_text(measured.size) + ", más que el límite de " +
                                  grouped_number(settings.max_frames) + " cuadros" + at + "."};
        }
    }
    RunResult result = Run(storyboard, path, output, settings).write_file(output);
    if (!result.ok())
        output.abandon();
    return result;
}

}  // namespace tavrix
