#include "stage/scene_plan.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "common/encoding.h"
#include "common/numbers.h"
#include "storyboard/block_writer.h"
#include "storyboard/engine_reading.h"
#include "storyboard/frame_expansion.h"
#include "storyboard/writer.h"

namespace tavrix {
namespace {

std::int64_t saturated(double value) {
    constexpr auto kLow = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr auto kHigh = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int64_t>(std::clamp(std::trunc(value), kLow, kHigh));
}

// A key's value: the blanks around it dropped, a whole number, or none (the key's default).
std::optional<std::int64_t> key_number(std::string_view text) {
    text = trim_blanks(text);
    if (!is_plain_whole(text))
        return std::nullopt;
    return saturated(strict_number(text).value_or(0));
}

std::int64_t key_or(std::string_view text, std::int64_t otherwise) {
    return key_number(text).value_or(otherwise);
}

Rgb colour_of(const Storyboard::Colour& texts) {
    const auto part = [](std::string_view text) {
        return static_cast<std::uint8_t>(std::clamp<std::int64_t>(key_or(text, 0), 0, 255));
    };
    return {part(texts[0]), part(texts[1]), part(texts[2])};
}

// What an engine makes of one value of a frame line.
enum class Reading : std::uint8_t { Whole, Dropped, Aborts };

Reading frame_value(std::string_view text) {
    if (is_plain_whole(text))
        return Reading::Whole;
    return text == "-" ? Reading::Aborts : Reading::Dropped;
}

// A group, image, X or Y keeps 16 bits.
std::int64_t sixteen_bits(std::string_view text) {
    const double value = strict_number(text).value_or(0);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(
        static_cast<std::uint64_t>(static_cast<std::int64_t>(std::fmod(value, 65536.0)))));
}

// A frame's time: a whole number, or the whole part of any other number; a text that is
// no number at all is 0 and never shown.
std::int32_t frame_time(std::string_view text) {
    return static_cast<std::int32_t>(saturated(strict_number(text).value_or(0)));
}

// Reads back the frame lines that the expansion writes, as an engine reads them, into the
// action's timeline.
class FrameReader final : public Output {
  public:
    explicit FrameReader(Timeline& timeline) : timeline_(timeline) {}

    IoStatus open(std::string_view) override { return IoStatus::success(); }
    IoStatus write(std::string_view bytes) override {
        for (std::size_t end; (end = bytes.find('\n')) != std::string_view::npos;) {
            pending_.append(bytes.substr(0, end));
            read_line(pending_);
            pending_.clear();
            bytes.remove_prefix(end + 1);
        }
        pending_.append(bytes);
        return IoStatus::success();
    }
    IoStatus commit() override { return IoStatus::success(); }
    void abandon() noexcept override {}

    std::optional<std::uint64_t> aborted_at() const { return aborted_at_; }

  private:
    // "group,image, x,y, time" with a CR at its end.
    void read_line(std::string_view line) {
        ++number_;
        if (aborted_at_ || timeline_.size() >= kMaxPlannedFrames)
            return;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::array<std::string_view, kRangeCount> values;
        for (std::size_t i = 0; i < kRangeCount; ++i) {
            const std::size_t comma = line.find(',');
            values[i] = line.substr(0, comma);
            line = comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
            // The writer puts one blank after every second comma.
            if (i % 2 == 1 && line.starts_with(' '))
                line.remove_prefix(1);
        }
        bool dropped = false;
        for (std::size_t i : {kGroup, kImage, kX, kY}) {
            const Reading reading = frame_value(values[i]);
            if (reading == Reading::Aborts) {
                aborted_at_ = number_;
                return;
            }
            dropped = dropped || reading == Reading::Dropped;
        }
        if (dropped)
            return;
        timeline_.add({{static_cast<std::uint16_t>(sixteen_bits(values[kGroup])),
                        static_cast<std::uint16_t>(sixteen_bits(values[kImage]))},
                       static_cast<std::int16_t>(sixteen_bits(values[kX])),
                       static_cast<std::int16_t>(sixteen_bits(values[kY])),
                       frame_time(values[kSpeed]),
                       number_});
    }

    Timeline& timeline_;
    std::string pending_;
    std::uint64_t number_ = 0;
    std::optional<std::uint64_t> aborted_at_;
};

// The frame values go into the file as typed; a character beyond ASCII makes the value one
// that an engine drops, whichever code page holds it.
void keep_as_typed(std::string_view utf8, std::string& out) {
    out.append(utf8);
}

// Expands the action's rows, one after another, into the plan's timeline; gives the tick
// total that "Generar!" shows.
std::int32_t read_action(const Storyboard::Scene& scene, Plan& plan) {
    FrameReader reader(plan.action);
    const RunSettings settings{keep_as_typed, nullptr, 0};
    std::int32_t total = 0;
    BlockWriter writer(reader, settings);
    for (const Storyboard::Row& row : scene.action) {
        const auto expanded = expand_frames(row, total, keep_as_typed, writer);
        if (!expanded.ok()) {
            plan.notes.emplace_back(
                "«Generar!» no podrá terminar: el guion acaba donde la "
                "expansión se detiene.");
            break;
        }
        total = expanded.value();
    }
    (void)writer.flush();
    if (const auto frame = reader.aborted_at()) {
        plan.action = Timeline();
        plan.notes.push_back("El marco " + std::to_string(*frame) +
                             " lleva un «-» solo: el motor aborta el guion.");
    }
    return total;
}

// The action that "[Begin action N]" names, when its heading names one.
std::optional<std::int64_t> action_number(std::string_view animation) {
    if (!is_plain_whole(animation))
        return std::nullopt;
    return saturated(strict_number(animation).value_or(0));
}

void place_layer(const Storyboard::Layer& layer, std::optional<std::int64_t> action, Plan& plan) {
    const std::optional<std::int64_t> plays = key_number(layer.animation);
    if (!plays) {
        plan.notes.emplace_back(
            "«Número:» de la animación no es un número entero: el motor "
            "aborta el guion.");
        return;
    }
    if (plays != action) {
        plan.notes.emplace_back(
            "«Número:» de la animación lleva espacios: «[Begin action]» "
            "ya no nombra la acción.");
        return;
    }
    const auto along = [&layer](std::size_t axis) {
        return static_cast<std::int32_t>(saturated(
            static_cast<double>(key_or(layer.position[axis], 0) + key_or(layer.offset[axis], 0))));
    };
    plan.layer = Placement{along(0), along(1), key_or(layer.start_time, 0)};
}

void place_background(const std::optional<Storyboard::Background>& placed,
                      std::optional<std::int64_t> action, Plan& plan) {
    if (!placed)
        return;
    const Storyboard::Background& background = *placed;
    const std::optional<std::int64_t> plays = key_number(background.action);
    if (!action || plays != action) {
        plan.notes.push_back("La máscara juega la acción " + std::string(background.action) +
                             ", que el guion no tiene.");
        return;
    }
    plan.background = Placement{static_cast<std::int32_t>(key_or(background.start[0], 0)),
                                static_cast<std::int32_t>(key_or(background.start[1], 0)), 0};
}

}  // namespace

Plan plan_scene(const Storyboard::Scene& scene) {
    Plan plan;
    plan.clear = colour_of(scene.clear_colour);
    if (const auto& fade = scene.fade) {
        plan.fade_in = {key_or(fade->in_time, 0), colour_of(fade->in_colour)};
        plan.fade_out = {key_or(fade->out_time, 0), {0, 0, 0}};
    }
    const std::int32_t total = read_action(scene, plan);
    // The length as the file would hold it, read back as the engine reads "end.time".
    plan.end_time = key_or(number_text(scene_length(scene.layer.start_time, total)), 0);
    const std::optional<std::int64_t> action = action_number(scene.layer.animation);
    place_background(scene.background, action, plan);
    place_layer(scene.layer, action, plan);
    return plan;
}

}  // namespace tavrix
