#include "storyboard/writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <variant>

#include "common/encoding.h"
#include "common/numbers.h"
#include "model/names.h"
#include "model/ranges.h"
#include "storyboard/block_writer.h"
#include "storyboard/frame_count.h"
#include "storyboard/frame_expansion.h"
#include "storyboard/messages.h"

namespace tavrix {
namespace {

ExpansionStart expansion_start(const StoryboardFields& fields) {
    ExpansionStart start{};
    for (std::size_t i = 0; i < kRangeCount; ++i) {
        start.from[i] = fields.from[i];
        start.to[i] = leading_number(fields.to[i]);
    }
    return start;
}

std::string quoted(std::string_view text) {
    return quoted_for_message(text);
}

// Takes the bytes of the counting pass and keeps none.
class Discard final : public Output {
  public:
    IoStatus open(std::string_view) override { return IoStatus::success(); }
    IoStatus write(std::string_view) override { return IoStatus::success(); }
    IoStatus commit() override { return IoStatus::success(); }
    void abandon() noexcept override {}
};

std::string quoted_path(std::string_view path) {
    return quoted_for_message(path, kMessagePathLimit);
}

class Run {
  public:
    Run(const StoryboardFields& fields, Output& output, const RunSettings& settings)
        : fields_(fields), settings_(settings), writer_(output, settings) {}

    RunResult write_file(Output& output) {
        if (const IoStatus opened = output.open(fields_.path); !opened.ok())
            return file_failure("No se pudo crear el archivo ", opened.reason());
        std::optional<std::int32_t> counted;
        if (fields_.engine_ready) {
            const auto ticks = count_ticks();
            if (!ticks.ok())
                return expansion_failure(ticks.error());
            counted = ticks.value();
        }
        write_header(counted);
        const auto expanded = expand_frames(expansion_start(fields_), settings_.encode, writer_);
        if (!expanded.ok())
            return expansion_failure(expanded.error());
        const std::int32_t total = expanded.value();
        write_trailer(total);
        if (const auto flushed = writer_.flush(); !flushed.ok())
            return block_failure(flushed.error());
        if (const IoStatus committed = output.commit(); !committed.ok())
            return file_failure("No se pudo guardar el archivo ", committed.reason());
        return RunTotals{total, time_of_ticks(total), replaced_characters()};
    }

  private:
    Expected<std::int32_t, ExpansionFailure> count_ticks() const {
        Discard discard;
        BlockWriter counter(discard, settings_);
        return expand_frames(expansion_start(fields_), settings_.encode, counter);
    }

    // An encoder writes one "?" for each character it cannot hold, and a "?" as itself.
    std::vector<ReplacedCharacters> replaced_characters() const {
        std::vector<ReplacedCharacters> replaced;
        std::string encoded;
        for (const StoryboardFields::Written& field : fields_.written) {
            encoded.clear();
            settings_.encode(field.text, encoded);
            const auto marks = [](std::string_view text) {
                return static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '?'));
            };
            if (const std::uint64_t count = marks(encoded) - marks(field.text); count > 0)
                replaced.push_back({field.control, count});
        }
        return replaced;
    }

    // `ticks`: the run's tick total, known ahead in an engine-ready run.
    void write_header(std::optional<std::int32_t> ticks) {
        auto& w = writer_;
        w.text_line({"[SceneDef]"});
        w.text_line({"spr = ", fields_.sprite_file});
        if (fields_.start_scene)
            w.text_line({"startscene = ", *fields_.start_scene});
        w.text_line({});
        w.text_line({";------------------------------------"});
        w.text_line({"[Scene 0]"});
        if (fields_.fade)
            write_fade(*fields_.fade);
        const auto& [red, green, blue] = fields_.clear_colour;
        w.text_line({"; Screen Color"});
        w.text_line({"clearcolor = ", red, ",", green, ",", blue});
        w.text_line({});
        const StoryboardFields::Layer& layer = fields_.layer;
        w.text_line({"; Overlay Anims (from 0 to 9)"});
        w.text_line({"layerall.pos = ", layer.position[0], ",", layer.position[1]});
        w.text_line({"layer0.anim = ", layer.animation});
        w.text_line({"layer0.offset = ", layer.offset[0], ",", layer.offset[1]});
        w.text_line({"layer0.starttime = ", layer.start_time});
        if (ticks) {
            w.text_line({"end.time = ", number_text(scene_length(layer.start_time, *ticks))});
            if (fields_.background)
                w.text_line({"bg.name = BG1"});
        }
        if (fields_.music)
            write_music(*fields_.music);
        if (fields_.background)
            write_background(*fields_.background);
        w.text_line({});
        w.text_line({"[Begin action ", layer.animation, "]"});
    }

    void write_fade(const StoryboardFields::Fade& fade) {
        auto& w = writer_;
        const auto& [red, green, blue] = fade.in_colour;
        w.text_line({";Fade"});
        w.text_line({"fadein.time = ", fade.in_time});
        w.text_line({"fadein.col = ", red, ",", green, ",", blue});
        w.text_line({"fadeout.time = ", fade.out_time});
        w.text_line({"fadeout.col = 0,0,0"});
        w.text_line({});
    }

    void write_music(const StoryboardFields::Music& music) {
        auto& w = writer_;
        w.text_line({});
        w.text_line({"; Music"});
        w.text_line({"bgm = ", music.file});
        w.text_line({"bgm.loop = ", music.loops});
    }

    void write_background(const StoryboardFields::Background& background) {
        auto& w = writer_;
        w.text_line({});
        w.text_line({"[BG1Def]"});
        w.text_line({});
        w.text_line({"[BG1]"});
        w.text_line({"type = Anim"});
        w.text_line({"Actionno = ", background.action});
        w.text_line({"start = ", background.start[0], ",", background.start[1]});
        w.text_line({"mask = 1"});
    }

    void write_trailer(std::int32_t total) {
        writer_.text_line({" "});
        writer_.text_line({"; Tiempo = ", sign_padded_number_text(time_of_ticks(total))});
        writer_.text_line({"; Tics = ", sign_padded_number_text(total)});
    }

    RunFailure file_failure(std::string_view what, const std::string& reason) const {
        return RunFailure{FailureCause::File,
                          std::string(what) + quoted_path(fields_.path) + ": " + reason + "."};
    }

    RunFailure block_failure(const BlockFailure& failure) const {
        if (failure.cancelled)
            return RunFailure{FailureCause::Cancelled, "Generación cancelada."};
        return file_failure("No se pudo escribir en el archivo ", failure.reason);
    }

    RunFailure expansion_failure(const ExpansionFailure& failure) const {
        if (const auto* value = std::get_if<NotANumber>(&failure))
            return not_a_number(*value);
        if (const auto* block = std::get_if<BlockFailure>(&failure))
            return block_failure(*block);
        return tick_total_out_of_range();
    }

    RunFailure not_a_number(const NotANumber& value) const {
        const FrameRange& range = kFrameRanges[value.range];
        return RunFailure{FailureCause::Field,
                          "No se pudo generar " + quoted_path(fields_.path) + ": el valor " +
                              quoted(value.text) + " de " + quoted(control_name(range.from)) +
                              (is_beyond_double(value.text) ? " es demasiado grande para un número."
                                                            : " no es un número completo.")};
    }

    RunFailure tick_total_out_of_range() const {
        return RunFailure{FailureCause::TickTotal,
                          "No se pudo generar " + quoted_path(fields_.path) +
                              ": el total de tics sale del rango de -2147483648 a 2147483647."};
    }

    const StoryboardFields& fields_;
    const RunSettings& settings_;
    BlockWriter writer_;
};

}  // namespace

double time_of_ticks(std::int32_t tick_total) {
    return static_cast<double>(static_cast<std::int64_t>(tick_total) * 5) / 300.0;
}

double scene_length(std::string_view start_time, std::int32_t tick_total) {
    const double start = std::trunc(strict_number(start_time).value_or(0));
    return std::max(1.0, start + tick_total);
}

RunSize measure_run(const StoryboardFields& fields, Encoder encode) {
    return count_frames(expansion_start(fields), encode);
}

RunResult write_storyboard(const StoryboardFields& fields, Output& output,
                           const RunSettings& settings) {
    // Decided before the file is touched, so that a refused run changes nothing.
    if (settings.max_frames != 0) {
        const RunSize size = measure_run(fields, settings.encode);
        if (size.frames > settings.max_frames) {
            return RunFailure{FailureCause::TooManyFrames,
                              "No se generó " + quoted(fields.path) + ": se escribirían " +
                                  run_size_text(size) + ", más que el límite de " +
                                  grouped_number(settings.max_frames) + " cuadros."};
        }
    }
    RunResult result = Run(fields, output, settings).write_file(output);
    if (!result.ok())
        output.abandon();
    return result;
}

}  // namespace tavrix
