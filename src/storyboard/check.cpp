#include "storyboard/check.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

#include "common/encoding.h"
#include "common/numbers.h"
#include "model/controls.h"
#include "model/names.h"
#include "model/ranges.h"
#include "storyboard/broken_lines.h"
#include "storyboard/engine_reading.h"
#include "storyboard/keys.h"
#include "storyboard/range_walk.h"
#include "storyboard/shared_actions.h"

namespace tavrix {
namespace {

using C = ControlId;
using Findings = std::vector<std::string>;

// Control characters escaped, so that a finding stays on its line; a long text cut short.
std::string quoted(std::string_view text) {
    const std::string shown = quoted_for_message(text);
    return "«" + shown.substr(1, shown.size() - 2) + "»";
}

// A label or frame caption without its colon and blanks: "Color RGB: " gives "Color RGB".
std::string_view bare_caption(ControlId id) {
    std::string_view text = control_def(id).text;
    while (!text.empty() && (text.back() == ' ' || text.back() == ':'))
        text.remove_suffix(1);
    return text;
}

// A field as a person finds it: its label, and its frame where the label repeats.
struct FieldName {
    ControlId label;
    std::optional<ControlId> frame;

    std::string text() const {
        std::string name(bare_caption(label));
        if (frame)
            name.append(" (").append(bare_caption(*frame)).append(")");
        return name;
    }
};

// A text box by its label, and by its frame when it stands in one.
FieldName field_name(ControlId box) {
    return {label_of(box).value_or(box), control_def(box).container};
}

// ---------------------------------------------------------------------------------------
// Frames: numbered from 1, gathered in runs.

struct FrameRun {
    std::uint64_t first;
    std::uint64_t last;
};

class FrameSet {
  public:
    void add(std::uint64_t first, std::uint64_t last) {
        if (first <= last)
            runs_.push_back({first, last});
    }
    bool empty() const { return runs_.empty(); }

    // "el marco 3", "los marcos 1, 2 y 5", or past ten "40 marcos (del 2 al 41)".
    std::string describe() const {
        std::vector<FrameRun> runs = merged();
        std::uint64_t count = 0;
        for (const FrameRun& run : runs)
            count += run.last - run.first + 1;
        if (count == 1)
            return "el marco " + std::to_string(runs.front().first);
        if (count > 10) {
            return std::to_string(count) + " marcos (del " + std::to_string(runs.front().first) +
                   " al " + std::to_string(runs.back().last) + ")";
        }
        std::vector<std::uint64_t> frames;
        for (const FrameRun& run : runs) {
            for (std::uint64_t frame = run.first; frame <= run.last; ++frame)
                frames.push_back(frame);
        }
        std::string text = "los marcos ";
        for (std::size_t i = 0; i < frames.size(); ++i) {
            if (i > 0)
                text += i + 1 == frames.size() ? " y " : ", ";
            text += std::to_string(frames[i]);
        }
        return text;
    }

  private:
    std::vector<FrameRun> merged() const {
        std::vector<FrameRun> runs = runs_;
        std::sort(runs.begin(), runs.end(),
                  [](const FrameRun& a, const FrameRun& b) { return a.first < b.first; });
        std::vector<FrameRun> out;
        for (const FrameRun& run : runs) {
            if (!out.empty() && run.first <= out.back().last + 1)
                out.back().last = std::max(out.back().last, run.last);
            else
                out.push_back(run);
        }
        return out;
    }

    std::vector<FrameRun> runs_;
};

// ---------------------------------------------------------------------------------------
// A range's values over the frames, taken from its walk without expanding them: the typed
// text in the first frame, then start + k * step after the k-th of its `steps` steps, and
// the last value until the expansion ends.

// A number text keeps 15 significant digits: from 1e15 on it is written with an exponent.
constexpr double kLargestCounted = 1e15;

struct RangeLine {
    std::string_view typed;
    double start = 0;  // the typed text's value, when the range steps
    double step = 0;   // +1, -1, or 0 for a range that never moves
    double steps = 0;  // how many times it steps
};

RangeLine line_of(const Storyboard::Range& range, const RangeWalk& walk) {
    return {range.from, walk.start(), static_cast<double>(walk.direction()),
            static_cast<double>(walk.steps())};
}

// The steps k in [1, steps] after which the value start + step * k is above `limit`.
std::optional<std::pair<double, double>> steps_above(const RangeLine& walk, double limit) {
    double first = 1;
    double last = walk.steps;
    if (walk.step > 0)
        first = std::max(first, std::floor(limit - walk.start) + 1);
    else
        last = std::min(last, std::ceil(walk.start - limit) - 1);
    if (first > last)
        return std::nullopt;
    return std::pair{first, last};
}

std::optional<std::pair<double, double>> steps_below(const RangeLine& walk, double limit) {
    return steps_above(RangeLine{walk.typed, -walk.start, -walk.step, walk.steps}, -limit);
}

// Where each value of a range stands in a run of `frames` frames, which follows `before`
// frames of the action.
class RangeFrames {
  public:
    RangeFrames(const RangeLine& walk, std::uint64_t before, std::uint64_t frames)
        : walk_(walk), before_(before), frames_(frames) {}

    // The frames that hold the typed text.
    void add_typed(FrameSet& set) const { add(set, 1, walk_.steps == 0 ? frames_ : 1); }

    // The frames after steps `first` to `last`; the last step's value stays to the end.
    void add_steps(FrameSet& set, std::optional<std::pair<double, double>> steps) const {
        if (!steps)
            return;
        const auto first = static_cast<std::uint64_t>(steps->first);
        const auto last = static_cast<std::uint64_t>(steps->second);
        add(set, first + 1, steps->second >= walk_.steps ? frames_ : last + 1);
    }
    void add_all_steps(FrameSet& set) const {
        if (walk_.steps >= 1)
            add_steps(set, std::pair{1.0, walk_.steps});
    }

  private:
    void add(FrameSet& set, std::uint64_t first, std::uint64_t last) const {
        set.add(before_ + first, before_ + last);
    }

    const RangeLine& walk_;
    std::uint64_t before_;
    std::uint64_t frames_;
};

// ---------------------------------------------------------------------------------------
// What an engine does with a frame line's group, image, X or Y.

enum class Flaw : std::uint8_t { Fraction, Exponent, Plus, Radix, LoneMinus, NotWhole, Wide };
inline constexpr std::size_t kFlawCount = 7;

std::string_view flaw_text(Flaw flaw) {
    switch (flaw) {
        case Flaw::Fraction:
            return "hay una fracción en ";
        case Flaw::Exponent:
            return "hay un exponente en ";
        case Flaw::Plus:
            return "hay un signo «+» en ";
        case Flaw::Radix:
            return "hay un número &H o &O en ";
        case Flaw::LoneMinus:
            return "hay un «-» solo en ";
        case Flaw::NotWhole:
            return "hay un valor que no es un número entero en ";
        case Flaw::Wide:
            return "hay un valor fuera de -32768 a 32767 en ";
    }
    return "";
}

std::string_view flaw_effect(Flaw flaw) {
    switch (flaw) {
        case Flaw::LoneMinus:
            return "el motor aborta el guion.";
        case Flaw::Wide:
            return "el motor guarda 16 bits y el valor da la vuelta.";
        default:
            return "el motor descarta esas líneas sin avisar.";
    }
}

constexpr double kShortMin = -32768;
constexpr double kShortMax = 32767;

std::optional<Flaw> typed_flaw(std::string_view text) {
    if (is_plain_whole(text)) {
        const double value = strict_number(text).value_or(0);
        return value < kShortMin || value > kShortMax ? std::optional(Flaw::Wide) : std::nullopt;
    }
    if (text == "-")
        return Flaw::LoneMinus;
    const std::string_view trimmed = trim_blanks(text);
    if (!trimmed.empty() && trimmed.front() == '&')
        return Flaw::Radix;
    if (!trimmed.empty() && trimmed.front() == '+')
        return Flaw::Plus;
    if (trimmed.find('.') != std::string_view::npos)
        return Flaw::Fraction;
    if (trimmed.find_first_of("EeDd") != std::string_view::npos)
        return Flaw::Exponent;
    return Flaw::NotWhole;
}

// The frames of an action at which each flaw shows, gathered over its rows.
struct ActionFlaws {
    std::array<std::array<FrameSet, kFlawCount>, kSpeed> values;  // group, image, X and Y
    FrameSet zero_speed;
    FrameSet negative_speed;
};

void find_value_flaws(const RangeFrames& where, const RangeLine& walk,
                      std::array<FrameSet, kFlawCount>& flawed) {
    const auto at = [&flawed](Flaw flaw) -> FrameSet& {
        return flawed[static_cast<std::size_t>(flaw)];
    };
    if (const auto flaw = typed_flaw(walk.typed))
        where.add_typed(at(*flaw));
    where.add_steps(at(Flaw::Wide), steps_above(walk, kShortMax));
    where.add_steps(at(Flaw::Wide), steps_below(walk, kShortMin));
    if (walk.start != std::trunc(walk.start)) {
        where.add_all_steps(at(Flaw::Fraction));
    } else {
        where.add_steps(at(Flaw::Exponent), steps_above(walk, kLargestCounted - 1));
        where.add_steps(at(Flaw::Exponent), steps_below(walk, 1 - kLargestCounted));
    }
}

void find_speed_flaws(const RangeFrames& where, const RangeLine& walk, ActionFlaws& flaws) {
    const double typed = strict_number(walk.typed).value_or(0);
    if (typed == 0)
        where.add_typed(flaws.zero_speed);
    else if (typed < 0)
        where.add_typed(flaws.negative_speed);
    where.add_steps(flaws.negative_speed, steps_below(walk, 0));
    // Speeds only count upward, so a whole negative start passes 0 once.
    if (walk.start < 0 && walk.start == std::trunc(walk.start) && -walk.start <= walk.steps)
        where.add_steps(flaws.zero_speed, std::pair{-walk.start, -walk.start});
}

void report_flaws(const ActionFlaws& flaws, std::string_view scene, Findings& findings) {
    for (std::size_t range = 0; range < flaws.values.size(); ++range) {
        for (std::size_t i = 0; i < kFlawCount; ++i) {
            const FrameSet& frames = flaws.values[range][i];
            if (frames.empty())
                continue;
            const auto flaw = static_cast<Flaw>(i);
            findings.push_back(std::string(scene) + std::string(kFrameRanges[range].column) + " " +
                               std::string(flaw_text(flaw)) + frames.describe() + "; " +
                               std::string(flaw_effect(flaw)));
        }
    }
    const std::string column = std::string(scene) + std::string(kFrameRanges[kSpeed].column);
    if (!flaws.zero_speed.empty()) {
        findings.push_back(column + " vale 0 en " + flaws.zero_speed.describe() +
                           "; el motor nunca muestra un marco de tiempo 0.");
    }
    if (!flaws.negative_speed.empty()) {
        findings.push_back(column + " es negativa en " + flaws.negative_speed.describe() +
                           "; el motor se queda parado en el primero de ellos.");
    }
}

// The row's frame count, or none when a running value it must read is not a number, which
// it reports.
std::optional<std::uint64_t> walk_row(const Storyboard::Row& row, std::uint64_t before,
                                      std::string_view scene, ActionFlaws& flaws,
                                      Findings& findings) {
    std::array<RangeWalk, kRangeCount> walks;
    std::uint64_t most_steps = 0;
    bool stops = false;
    for (std::size_t i = 0; i < kRangeCount; ++i) {
        walks[i] = RangeWalk(row[i]);
        most_steps = std::max(most_steps, walks[i].steps());
        // The speed is added to the tick total in every frame, moving or not.
        const auto not_a_number = walks[i].not_a_number();
        if (not_a_number && (not_a_number->must_step || i == kSpeed)) {
            findings.push_back(std::string(scene) + std::string(kFrameRanges[i].column) + " " +
                               quoted(row[i].from) +
                               " en la fila «Desde:» no es un número completo; «Generar!» no "
                               "podrá terminar.");
            stops = true;
        }
    }
    if (stops)
        return std::nullopt;
    const std::uint64_t frames = most_steps + 1;
    for (std::size_t i = 0; i < kRangeCount; ++i) {
        const RangeLine line = line_of(row[i], walks[i]);
        const RangeFrames where(line, before, frames);
        if (i == kSpeed)
            find_speed_flaws(where, line, flaws);
        else
            find_value_flaws(where, line, flaws.values[i]);
    }
    return frames;
}

void check_frames(const Storyboard::Scene& scene, std::string_view name, Findings& findings) {
    ActionFlaws flaws;
    std::uint64_t frames = 0;
    for (const Storyboard::Row& row : scene.action) {
        const auto row_frames = walk_row(row, frames, name, flaws, findings);
        if (!row_frames)
            return;  // no file would be written
        frames += *row_frames;
    }
    report_flaws(flaws, name, findings);
    if (frames > kManyFrames) {
        findings.push_back(std::string(name) + "La expansión escribiría " + std::to_string(frames) +
                           " marcos, más de un millón.");
    }
}

// ---------------------------------------------------------------------------------------
// The keys whose value an engine reads as a whole number.

struct NumberKey {
    std::string_view text;
    FieldName name;
};

void check_number_keys(const std::vector<NumberKey>& keys, std::string_view scene,
                       Findings& findings) {
    for (const NumberKey& key : keys) {
        const std::string_view value = trim_blanks(key.text);
        if (value.empty()) {
            findings.push_back(std::string(scene) + key.name.text() +
                               " está vacío; el motor usa su valor por omisión.");
        } else if (!is_plain_whole(value)) {
            findings.push_back(std::string(scene) + key.name.text() + ": " + quoted(key.text) +
                               " no es un número entero; el motor usa su valor por omisión o "
                               "aborta el guion.");
        }
    }
}

// The typed texts of the keys that an engine reads as whole numbers, in the header or a
// scene, each with the field it comes from.
template <typename Part>
std::vector<NumberKey> number_keys(const Part& part) {
    std::vector<NumberKey> keys;
    for (const KeyDef& def : key_defs()) {
        if (def.holds != KeyValue::WholeNumbers)
            continue;
        const std::vector<std::string_view> parts = typed_parts(part, def.key);
        for (std::size_t i = 0; i < parts.size(); ++i)
            keys.push_back({parts[i], field_name(*def.fields[i])});
    }
    return keys;
}

void check_start_scene(const Storyboard& storyboard, Findings& findings) {
    const auto& start_scene = storyboard.header.start_scene;
    if (!start_scene)
        return;
    const std::string name = FieldName{C::Label17, {}}.text();
    if (storyboard.scenes.size() == 1) {
        findings.push_back(name +
                           ": un motor cuenta las escenas desde 1 y otro desde 0, y el archivo "
                           "solo tiene la escena 0.");
        return;
    }
    const double scene = strict_number(*start_scene).value_or(0);
    findings.push_back(name +
                       ": un motor cuenta las escenas desde 1 y otro desde 0; según el motor, la "
                       "primera escena que se juega puede no ser la " +
                       *start_scene + ".");
    if (scene >= static_cast<double>(storyboard.scenes.size()))
        findings.push_back(name + ": el archivo no tiene la escena " + *start_scene + ".");
}

void check_action_number(std::string_view number, std::string_view scene, Findings& findings) {
    const KeyDef& key = key_def(Key::LayerAnimation);
    const std::string name = std::string(scene) + field_name(*key.fields[0]).text();
    if (!is_plain_whole(trim_blanks(number))) {
        findings.push_back(name + ": " + quoted(number) + " no es un número entero; " +
                           std::string(key.name) +
                           " y «[Begin action]» abortan el guion del motor.");
    } else if (trim_blanks(number) != number) {
        findings.push_back(name + ": " + quoted(number) +
                           " lleva espacios; «[Begin action]» ya no nombra la acción.");
    }
}

void check_engine_keys(const Storyboard::Scene& scene, std::string_view name, Findings& findings) {
    if (scene.engine_keys)
        return;
    findings.push_back(std::string(name) + "La escena no tiene " +
                       std::string(key_name(Key::SceneLength)) +
                       ": el motor la juega durante 0 tics (active «Archivo listo para el motor» "
                       "en «Herramientas»).");
    if (scene.background) {
        findings.push_back(std::string(name) + FieldName{C::Frame6, {}}.text() + ": ningún " +
                           std::string(key_name(Key::BackgroundName)) +
                           " de la escena apunta a [BG1], que nunca se ve (active «Archivo listo "
                           "para el motor»).");
    }
}

// ---------------------------------------------------------------------------------------
// The files the storyboard names.

bool is_absolute(std::string_view path) {
    return (!path.empty() && (path.front() == '/' || path.front() == '\\')) ||
           (path.size() >= 2 && path[1] == ':');
}

// The file `name` as an engine finds it: beside the storyboard file.
std::string beside(std::string_view storyboard, std::string_view name) {
    if (is_absolute(name))
        return std::string(name);
    const std::size_t slash = storyboard.find_last_of("/\\");
    const std::string_view folder =
        slash == std::string_view::npos ? std::string_view() : storyboard.substr(0, slash + 1);
    return std::string(folder) + std::string(name);
}

struct NamedFile {
    std::string_view name;
    std::string label;
    bool beside_storyboard;  // an engine looks for it next to the storyboard file
};

void check_file(const NamedFile& file, std::string_view storyboard, const FileExists& exists,
                Findings& findings) {
    if (!is_ascii(file.name)) {
        findings.push_back(file.label + ": " + quoted(file.name) +
                           " tiene caracteres fuera de ASCII; un motor en Windows puede no "
                           "encontrarlo.");
    }
    if (file.beside_storyboard && exists && !exists(beside(storyboard, file.name))) {
        findings.push_back(file.label + ": " + quoted(file.name) +
                           " no existe junto al archivo del guion.");
    }
}

// How a finding names scene `index`: not at all when it is the only one.
std::string scene_name(const Storyboard& storyboard, std::size_t index) {
    if (storyboard.scenes.size() == 1)
        return {};
    return "Escena " + std::to_string(index) + ": ";
}

// ---------------------------------------------------------------------------------------
// Texts that would break their line of the file.

// The sections and keys that a value's lines after its own make, the first few named:
// "la sección «[Scene 7]», la clave «fadein.time = 999» y 3 más".
std::string made_lines(const BrokenValue& value) {
    constexpr std::size_t kNamed = 4;
    std::vector<std::string> named;
    std::size_t more = 0;
    for (std::string_view line : value.lines) {
        const LineMeaning meaning = line_meaning(line);
        if (meaning.kind == LineKind::Other)
            continue;
        if (named.size() == kNamed)
            ++more;
        else
            named.push_back((meaning.kind == LineKind::Section ? "la sección " : "la clave ") +
                            quoted(meaning.text));
    }
    if (more > 0)
        named.push_back(std::to_string(more) + " más");
    std::string text;
    for (std::size_t i = 0; i < named.size(); ++i) {
        if (i > 0)
            text += i + 1 == named.size() ? " y " : ", ";
        text += named[i];
    }
    return text;
}

void check_broken_lines(const Storyboard& storyboard, Findings& findings) {
    for (const WrittenText& written : written_texts(storyboard)) {
        const std::optional<BrokenValue> value = broken_value(written.text);
        if (!value)
            continue;
        std::string finding =
            (written.scene ? scene_name(storyboard, *written.scene) : std::string()) +
            control_name(written.field) + ": " + quoted(written.text) + " tiene " +
            breaks_text(*value) + "; el motor corta la línea " +
            (value->kept.empty() ? std::string("antes del valor") : "tras " + quoted(value->kept)) +
            " y lee el resto como líneas propias";
        const std::string made = made_lines(*value);
        finding += made.empty() ? "." : ", que dan " + made + ".";
        findings.push_back(std::move(finding));
    }
}

}  // namespace

std::vector<std::string> check_storyboard(const Storyboard& storyboard, std::string_view path,
                                          const FileExists& exists) {
    Findings findings;
    const auto each_scene = [&](auto check) {
        for (std::size_t i = 0; i < storyboard.scenes.size(); ++i)
            check(storyboard.scenes[i], scene_name(storyboard, i));
    };
    check_broken_lines(storyboard, findings);
    check_file({path, FieldName{C::Label1, {}}.text(), false}, path, exists, findings);
    check_file({storyboard.header.sprite_file, FieldName{C::Label14, {}}.text(), true}, path,
               exists, findings);
    each_scene([&](const Storyboard::Scene& scene, const std::string& name) {
        if (scene.music)
            check_file({scene.music->file, name + FieldName{C::Frame5, {}}.text(), true}, path,
                       exists, findings);
    });
    each_scene([&](const Storyboard::Scene& scene, const std::string& name) {
        check_engine_keys(scene, name, findings);
    });
    check_number_keys(number_keys(storyboard.header), {}, findings);
    each_scene([&](const Storyboard::Scene& scene, const std::string& name) {
        check_number_keys(number_keys(scene), name, findings);
    });
    check_start_scene(storyboard, findings);
    each_scene([&](const Storyboard::Scene& scene, const std::string& name) {
        check_action_number(scene.layer.animation, name, findings);
    });
    for (const ActionClash& clash : action_clashes(storyboard))
        findings.push_back(clash_text(storyboard, clash));
    each_scene([&](const Storyboard::Scene& scene, const std::string& name) {
        check_frames(scene, name, findings);
    });
    return findings;
}

}  // namespace tavrix
