#include "storyboard/generator.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <string_view>

#include "app/ranges.h"
#include "common/numbers.h"

namespace tavrix {
namespace {

using C = ControlId;
using namespace std::string_view_literals;

constexpr std::size_t kBlockSize = 64 * 1024;

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    out.append(text);
    out.push_back('"');
    return out;
}

// Collects encoded lines and hands them to the output in blocks of at least 64 KiB.
class BlockWriter {
  public:
    BlockWriter(Output& output, const RunSettings& settings)
        : output_(output), settings_(settings) {
        buffer_.reserve(kBlockSize * 2);
    }

    void text_line(std::initializer_list<std::string_view> parts) {
        for (std::string_view part : parts)
            settings_.encode(part, buffer_);
        buffer_.append("\r\n"sv);
    }

    // A line already in the file's code page.
    void encoded_line(std::string_view bytes) {
        buffer_.append(bytes);
        buffer_.append("\r\n"sv);
    }

    bool block_full() const { return buffer_.size() >= kBlockSize; }

    // Writes what is buffered; a failure or a cancellation ends the run.
    std::optional<RunFailure> flush(std::uint64_t frames, std::string_view path) {
        if (buffer_.empty())
            return std::nullopt;
        const IoStatus status = output_.write(buffer_);
        if (!status.ok()) {
            return RunFailure{FailureCause::File, "No se pudo escribir en el archivo " +
                                                      quoted(path) + ": " + status.reason() + "."};
        }
        bytes_ += buffer_.size();
        buffer_.clear();
        if (settings_.progress && !settings_.progress(RunProgress{frames, bytes_})) {
            return RunFailure{FailureCause::Cancelled, "Generación cancelada."};
        }
        return std::nullopt;
    }

  private:
    Output& output_;
    const RunSettings& settings_;
    std::string buffer_;
    std::uint64_t bytes_ = 0;
};

// A running value of the expansion, with its two readings kept so that a text that has not
// changed is never parsed again.
struct RunningValue {
    std::string text;     // as in the field, or a number text once stepped
    std::string encoded;  // the same in the file's code page
    double leading = 0;
    std::optional<double> strict;

    void assign_typed(std::string_view typed, Encoder encode) {
        text.assign(typed);
        encoded.clear();
        encode(typed, encoded);
        leading = leading_number(text);
        strict = strict_number(text);
    }
};

enum class StepResult : std::uint8_t { Same, Moved, NotANumber };

// Replaces the value by the number text of its strict conversion plus `delta`.
StepResult step_value(RunningValue& value, double delta) {
    if (!value.strict)
        return StepResult::NotANumber;
    const double next = *value.strict + delta;
    char digits[kNumberTextCapacity];
    const std::string_view text(digits, write_number_text(next, digits));
    if (text == value.text)
        return StepResult::Same;
    value.text.assign(text);
    value.encoded.assign(text);  // number texts are ASCII
    if (std::trunc(next) == next && std::fabs(next) < 1e15) {
        value.leading = next;  // a whole number's text reads back exactly
        value.strict = next;
    } else {
        value.leading = leading_number(value.text);
        value.strict = strict_number(value.text);
    }
    return StepResult::Moved;
}

class Run {
  public:
    Run(Window& window, Output& output, const RunSettings& settings)
        : window_(window),
          settings_(settings),
          path_(window.text(C::Text11)),
          writer_(output, settings) {}

    std::optional<RunFailure> write_file(Output& output, std::int32_t& total) {
        if (const IoStatus opened = output.open(path_); !opened.ok()) {
            return RunFailure{FailureCause::File, "No se pudo crear el archivo " + quoted(path_) +
                                                      ": " + opened.reason() + "."};
        }
        load_running_values();
        write_header();
        if (auto failure = expand_frames(total))
            return failure;
        write_trailer(total);
        if (auto failure = writer_.flush(frames_, path_))
            return failure;
        if (const IoStatus committed = output.commit(); !committed.ok()) {
            return RunFailure{FailureCause::File, "No se pudo guardar el archivo " + quoted(path_) +
                                                      ": " + committed.reason() + "."};
        }
        return std::nullopt;
    }

  private:
    std::string_view field(ControlId id) const { return window_.text(id); }
    bool ticked(ControlId box) const { return window_.value(box) == 1; }

    void load_running_values() {
        for (std::size_t i = 0; i < kRangeCount; ++i) {
            running_[i].assign_typed(field(kFrameRanges[i].from), settings_.encode);
        }
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
        if (ticked(C::Check6)) {
            w.text_line({";Fade"});
            w.text_line({"fadein.time = ", field(C::ttika)});
            w.text_line(
                {"fadein.col = ", field(C::Text25), ",", field(C::Text26), ",", field(C::Text27)});
            w.text_line({"fadeout.time = ", field(C::tikdd)});
            w.text_line({"fadeout.col = 0,0,0"});
            w.text_line({});
        }
        w.text_line({"; Screen Color"});
        w.text_line({"clearcolor = ", field(C::rojo), ",", field(C::verde), ",", field(C::azul)});
        w.text_line({});
        w.text_line({"; Overlay Anims (from 0 to 9)"});
        w.text_line({"layerall.pos = ", field(C::Text17), ",", field(C::Text18)});
        w.text_line({"layer0.anim = ", field(C::Text16)});
        w.text_line({"layer0.offset = ", field(C::Text15), ",", field(C::Text20)});
        w.text_line({"layer0.starttime = ", field(C::Text19)});
        if (ticked(C::Check7)) {
            w.text_line({});
            w.text_line({"; Music"});
            w.text_line({"bgm = ", field(C::soundfile)});
            w.text_line({"bgm.loop = ", field(C::Text14)});
        }
        if (ticked(C::Check8)) {
            w.text_line({});
            w.text_line({"[BG1Def]"});
            w.text_line({});
            w.text_line({"[BG1]"});
            w.text_line({"type = Anim"});
            w.text_line({"Actionno = ", field(C::Text24)});
            w.text_line({"start = ", field(C::Text23), ",", field(C::Text22)});
            w.text_line({"mask = 1"});
        }
        w.text_line({});
        w.text_line({"[Begin action ", field(C::Text16), "]"});
    }

    void build_frame_line() {
        frame_line_.clear();
        frame_line_.append(running_[kGroup].encoded).append(","sv);
        frame_line_.append(running_[kImage].encoded).append(", "sv);
        frame_line_.append(running_[kX].encoded).append(","sv);
        frame_line_.append(running_[kY].encoded).append(", "sv);
        frame_line_.append(running_[kSpeed].encoded);
    }

    RunFailure not_a_number(std::size_t range_index) const {
        const FrameRange& range = kFrameRanges[range_index];
        return RunFailure{FailureCause::Field,
                          "No se pudo generar " + quoted(path_) + ": el valor " +
                              quoted(running_[range_index].text) + " de " + quoted(range.column) +
                              " en la fila \"Desde:\" (" +
                              std::string(control_def(range.from).name) +
                              ") no es un número completo."};
    }

    RunFailure tick_total_out_of_range() const {
        return RunFailure{FailureCause::TickTotal,
                          "No se pudo generar " + quoted(path_) +
                              ": el total de tics sale del rango de -2147483648 a 2147483647."};
    }

    // Adds the running speed to the total, rounding half to even.
    std::optional<RunFailure> add_speed(std::int32_t& total) const {
        const RunningValue& speed = running_[kSpeed];
        if (!speed.strict)
            return not_a_number(kSpeed);
        const double sum = std::nearbyint(static_cast<double>(total) + *speed.strict);
        if (!(sum >= std::numeric_limits<std::int32_t>::min() &&
              sum <= std::numeric_limits<std::int32_t>::max())) {
            return tick_total_out_of_range();
        }
        total = static_cast<std::int32_t>(sum);
        return std::nullopt;
    }

    // Steps the five values once; `moved` tells whether any text changed. A changed value
    // always changes the frame line, because a stepped text never holds a comma.
    std::optional<RunFailure> step_all(const std::array<double, kRangeCount>& to, bool& moved) {
        moved = false;
        for (std::size_t i = 0; i < kRangeCount; ++i) {
            if (to[i] - 1 >= running_[i].leading) {
                const StepResult result = step_value(running_[i], +1);
                if (result == StepResult::NotANumber)
                    return not_a_number(i);
                moved = moved || result == StepResult::Moved;
            }
        }
        for (std::size_t i : {std::size_t{kX}, std::size_t{kY}}) {
            if (to[i] < running_[i].leading) {
                const StepResult result = step_value(running_[i], -1);
                if (result == StepResult::NotANumber)
                    return not_a_number(i);
                moved = moved || result == StepResult::Moved;
            }
        }
        return std::nullopt;
    }

    std::optional<RunFailure> expand_frames(std::int32_t& total) {
        // The "Hasta:" fields cannot change while the run holds the event thread.
        std::array<double, kRangeCount> to{};
        for (std::size_t i = 0; i < kRangeCount; ++i) {
            to[i] = leading_number(field(kFrameRanges[i].to));
        }
        total = 0;
        build_frame_line();
        for (;;) {
            if (auto failure = add_speed(total))
                return failure;
            writer_.encoded_line(frame_line_);
            ++frames_;
            if (writer_.block_full()) {
                if (auto failure = writer_.flush(frames_, path_))
                    return failure;
            }
            bool moved = false;
            if (auto failure = step_all(to, moved))
                return failure;
            if (!moved)
                return std::nullopt;
            build_frame_line();
        }
    }

    void write_trailer(std::int32_t total) {
        writer_.text_line({" "});
        writer_.text_line({"; Tiempo = ", sign_padded_number_text(time_of_ticks(total))});
        writer_.text_line({"; Tics = ", sign_padded_number_text(total)});
    }

    Window& window_;
    const RunSettings& settings_;
    std::string path_;
    BlockWriter writer_;
    std::array<RunningValue, kRangeCount> running_;
    std::string frame_line_;
    std::uint64_t frames_ = 0;
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
