#include "storyboard/generator.h"

#include <array>
#include <string_view>
#include <variant>

#include "app/ranges.h"
#include "common/numbers.h"
#include "storyboard/block_writer.h"
#include "storyboard/frame_expansion.h"

namespace tavrix {
namespace {

using C = ControlId;

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    out.append(text);
    out.push_back('"');
    return out;
}

class Run {
  public:
    Run(Window& window, Output& output, const RunSettings& settings)
        : window_(window),
          settings_(settings),
          path_(window.text(C::Text11)),
          writer_(output, settings) {}

    std::optional<RunFailure> write_file(Output& output, std::int32_t& total) {
        if (const IoStatus opened = output.open(path_); !opened.ok())
            return file_failure("No se pudo crear el archivo ", opened.reason());
        write_header();
        if (auto failure = expand_frames(expansion_start(), settings_.encode, writer_, total))
            return expansion_failure(*failure);
        write_trailer(total);
        if (auto failure = writer_.flush())
            return block_failure(*failure);
        if (const IoStatus committed = output.commit(); !committed.ok())
            return file_failure("No se pudo guardar el archivo ", committed.reason());
        return std::nullopt;
    }

  private:
    std::string_view field(ControlId id) const { return window_.text(id); }
    bool ticked(ControlId box) const { return window_.value(box) == 1; }

    // The "Hasta:" fields cannot change while the run holds the event thread.
    ExpansionStart expansion_start() const {
        ExpansionStart start{};
        for (std::size_t i = 0; i < kRangeCount; ++i) {
            start.from[i] = field(kFrameRanges[i].from);
            start.to[i] = leading_number(field(kFrameRanges[i].to));
        }
        return start;
    }

    void write_header() {
        auto& w = writer_;
        w.text_line({"[SceneDef]"});
        w.text_line({"spr = ", field(C::Text12)});
        if (ticked(C::Check9))
            w.text_line({"startscene = ", field(C::Text13)});
        w.text_line({});
        w.text_line({";------------------------------------"});
        w.text_line({"[Scene 0]"});
        if (ticked(C::Check6))
            write_fade();
        w.text_line({"; Screen Color"});
        w.text_line({"clearcolor = ", field(C::rojo), ",", field(C::verde), ",", field(C::azul)});
        w.text_line({});
        w.text_line({"; Overlay Anims (from 0 to 9)"});
        w.text_line({"layerall.pos = ", field(C::Text17), ",", field(C::Text18)});
        w.text_line({"layer0.anim = ", field(C::Text16)});
        w.text_line({"layer0.offset = ", field(C::Text15), ",", field(C::Text20)});
        w.text_line({"layer0.starttime = ", field(C::Text19)});
        if (ticked(C::Check7))
            write_music();
        if (ticked(C::Check8))
            write_background();
        w.text_line({});
        w.text_line({"[Begin action ", field(C::Text16), "]"});
    }

    void write_fade() {
        auto& w = writer_;
        w.text_line({";Fade"});
        w.text_line({"fadein.time = ", field(C::ttika)});
        w.text_line(
            {"fadein.col = ", field(C::Text25), ",", field(C::Text26), ",", field(C::Text27)});
        w.text_line({"fadeout.time = ", field(C::tikdd)});
        w.text_line({"fadeout.col = 0,0,0"});
        w.text_line({});
    }

    void write_music() {
        auto& w = writer_;
        w.text_line({});
        w.text_line({"; Music"});
        w.text_line({"bgm = ", field(C::soundfile)});
        w.text_line({"bgm.loop = ", field(C::Text14)});
    }

    void write_background() {
        auto& w = writer_;
        w.text_line({});
        w.text_line({"[BG1Def]"});
        w.text_line({});
        w.text_line({"[BG1]"});
        w.text_line({"type = Anim"});
        w.text_line({"Actionno = ", field(C::Text24)});
        w.text_line({"start = ", field(C::Text23), ",", field(C::Text22)});
        w.text_line({"mask = 1"});
    }

    void write_trailer(std::int32_t total) {
        writer_.text_line({" "});
        writer_.text_line({"; Tiempo = ", sign_padded_number_text(time_of_ticks(total))});
        writer_.text_line({"; Tics = ", sign_padded_number_text(total)});
    }

    RunFailure file_failure(std::string_view what, const std::string& reason) const {
        return RunFailure{FailureCause::File,
                          std::string(what) + quoted(path_) + ": " + reason + "."};
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
        return RunFailure{
            FailureCause::Field,
            "No se pudo generar " + quoted(path_) + ": el valor " + quoted(value.text) + " de " +
                quoted(range.column) + " en la fila \"Desde:\" (" +
                std::string(control_def(range.from).name) + ") no es un número completo."};
    }

    RunFailure tick_total_out_of_range() const {
        return RunFailure{FailureCause::TickTotal,
                          "No se pudo generar " + quoted(path_) +
                              ": el total de tics sale del rango de -2147483648 a 2147483647."};
    }

    Window& window_;
    const RunSettings& settings_;
    std::string path_;
    BlockWriter writer_;
};

}  // namespace

double time_of_ticks(std::int32_t tick_total) {
    return static_cast<double>(static_cast<std::int64_t>(tick_total) * 5) / 300.0;
}

std::optional<RunFailure> generate_storyboard(Window& window, std::int32_t& tick_total,
                                              Output& output, const RunSettings& settings) {
    std::int32_t total = 0;
    Run run(window, output, settings);
    if (auto failure = run.write_file(output, total)) {
        output.abandon();
        return failure;
    }
    tick_total = total;
    window.set_text(C::ticsI, std::to_string(total));
    window.set_text(C::tiempoI, number_text(time_of_ticks(total)));
    return std::nullopt;
}

}  // namespace tavrix
