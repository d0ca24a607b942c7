// Bytes decoded as a person's actions on the window: typing short texts into text boxes,
// clicking check boxes and pressing buttons, "Generar!" included. After every action the
// invariants of the field rules, the toggles, navigation and the writer are checked. The
// test suite runs the same checks (fuzz/replay_main.cpp).
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/form1.h"
#include "common/encoding.h"
#include "common/numbers.h"
#include "editor/field_rules.h"
#include "editor/navigation.h"
#include "fuzz_check.h"
#include "memory_output.h"
#include "model/ranges.h"

namespace tavrix {
namespace {

using fuzz::require;
using C = ControlId;

constexpr std::size_t kOutputBudget = 96 * 1024;  // one block goes through, then "disk full"

struct ControlSnapshot {
    std::string text;
    int value;
    bool enabled;
    bool visible;
    bool operator==(const ControlSnapshot&) const = default;
};

// Calls each(table, position, element) for every element of the store, always in one order.
template <typename Each>
void for_each_element(const SceneStore& store, Each each) {
    for (const TableDef& table : tables_in_reload_order()) {
        const int animations = table.kind == TableKind::PerAnimation ? kAnimations : 1;
        for (int s = 0; s < kScenes; ++s) {
            for (int a = 0; a < animations; ++a)
                each(table, Position{s, a}, store.at(table.id, {s, a}));
        }
    }
}

// The controls and the tick total before an action.
struct Snapshot {
    std::array<ControlSnapshot, kControlCount> controls;
    std::int32_t ticks;

    explicit Snapshot(const Form1& form) : ticks(form.tick_total()) {
        const Window& w = form.window();
        for (const ControlDef& def : control_table()) {
            controls[index_of(def.id)] = {w.text(def.id), w.value(def.id), w.enabled(def.id),
                                          w.visible(def.id)};
        }
    }
};

// A copy of the store kept in step with it: after each action the elements of any other
// position than the current one must still equal the copy; then the copy takes the current
// position's elements. Copying the whole store at every step would slow the fuzzer tenfold.
class StoreMirror {
  public:
    explicit StoreMirror(const SceneStore& store) : store_(store) {
        for_each_element(store, [this](const TableDef&, Position, const Element& element) {
            elements_.push_back(element);
        });
    }

    // `at` is the position whose elements may have changed; nothing for none.
    void check_and_follow(std::optional<Position> at, std::string_view action) {
        std::size_t i = 0;
        for_each_element(store_, [&](const TableDef& table, Position p, const Element& live) {
            Element& copy = elements_[i++];
            if (at && p.scene == at->scene &&
                (table.kind == TableKind::PerScene || p.animation == at->animation)) {
                copy = live;
            } else if (copy != live) {
                fuzz::broken("only the store at the current position changes",
                             std::string(table.name) + " tras " + std::string(action));
            }
        });
    }

  private:
    const SceneStore& store_;
    std::vector<Element> elements_;
};

std::string_view describe_control(ControlId id) {
    return control_def(id).name;
}

// --- The invariants ---------------------------------------------------------------------

// The positions are single digits, so no rule can address the store outside 0 to 9.
Position position_of(const Form1& form) {
    const std::string& scene = form.window().caption(C::Escena);
    const std::string& animation = form.window().caption(C::nroAnim);
    const auto digit = [](const std::string& caption) {
        return caption.size() == 1 && caption[0] >= '0' && caption[0] <= '9';
    };
    require(digit(scene), "Escena shows a digit from 0 to 9", scene);
    require(digit(animation), "nroAnim shows a digit from 0 to 9", animation);
    return {scene[0] - '0', animation[0] - '0'};
}

void check_static_ranges(const Window& w) {
    for (const FrameRange& range : kFrameRanges) {
        require(w.visible(range.to) == (w.value(range.box) != 1),
                "a \"Hasta:\" field is hidden exactly while its Estático box is ticked",
                describe_control(range.to));
    }
}

struct Group {
    ControlId box;
    std::vector<ControlId> controls;
};

const std::array<Group, 4>& groups() {
    static const std::array<Group, 4> kGroups{{
        {C::Check6,
         {C::tikdea, C::ttika, C::tikdedes, C::tikdd, C::Label35, C::Text25, C::Text26, C::Text27}},
        {C::Check7, {C::soundfile, C::Label26, C::Text14}},
        {C::Check8,
         {C::Label30, C::Text24, C::Label29, C::Text23, C::Text22, C::Label27, C::Text21}},
        {C::Check9, {C::Label17, C::Text13}},
    }};
    return kGroups;
}

void check_groups(const Window& w) {
    for (const Group& group : groups()) {
        for (ControlId id : group.controls) {
            require(w.enabled(id) == (w.value(group.box) == 1),
                    "each control of a group is enabled exactly while its box is ticked",
                    describe_control(id));
        }
    }
    require(w.enabled(C::Label28), "the comma of \"Máscara:\" stays enabled");
}

// Every stored field shows what its element holds at the current position.
void check_fields_match_store(const Form1& form, Position at) {
    const Window& w = form.window();
    for (const TableDef& table : tables_in_reload_order()) {
        const Position element = table.kind == TableKind::PerAnimation ? at : Position{at.scene, 0};
        if (control_def(table.control).kind == Kind::CheckBox) {
            require(w.value(table.control) == form.store().load_check(table.id, element),
                    "each stored box shows its element", describe_control(table.control));
        } else {
            require(w.text(table.control) == form.store().load_text(table.id, element),
                    "each stored field shows its element", describe_control(table.control));
        }
    }
}

// --- The actions ------------------------------------------------------------------------

// The controls of the given kinds, in the table's order.
std::vector<ControlId> controls_of(std::initializer_list<Kind> kinds) {
    std::vector<ControlId> list;
    for (const ControlDef& def : control_table()) {
        if (std::find(kinds.begin(), kinds.end(), def.kind) != kinds.end())
            list.push_back(def.id);
    }
    return list;
}

// Texts that reach the rules' edges; other texts come straight from the input.
constexpr std::array<std::string_view, 36> kWords{
    "",      "-",     "0",   "1",   "2",   "3",   "5",          "9",     "10",
    "12",    "12abc", "-7",  "0.5", "9.5", "1 2", "&H1F",       "&O17",  "1e3",
    "1e400", "-0",    "000", "abc", "ñ",   ":",   "9a",         "20000", "-20000",
    " 5",    "5 ",    "+",   ".",   "1d2", "-3",  "2147483647", "0.25",  "-1e-5",
};

std::string typed_text(FuzzedDataProvider& input) {
    if (input.ConsumeBool())
        return std::string(kWords[input.ConsumeIntegralInRange<std::size_t>(0, kWords.size() - 1)]);
    return input.ConsumeRandomLengthString(12);
}

// What a field's rule leaves in it after a person typed `typed`.
std::string normalised(ControlId id, const std::string& typed) {
    const FieldRule* rule = field_rule_for(id);
    if (!rule || rule->family == Family::FreeText)
        return typed;
    const bool keeps_minus = rule->family == Family::SignedNumeric ||
                             rule->family == Family::RangeFrom || rule->family == Family::RangeTo;
    if (keeps_minus && typed == "-")
        return typed;
    std::string text = leading_number(typed) == 0 ? "0" : typed;
    if (rule->family == Family::SceneCount && leading_number(text) > 9)
        text = "9";
    return text;
}

void check_typed(const Form1& form, ControlId id, const std::string& typed,
                 const std::string& shown_before) {
    const Window& w = form.window();
    // Typing the text a box already shows raises no change, so no rule runs.
    const std::string expected = typed == shown_before ? typed : normalised(id, typed);
    if (w.text(id) != expected) {
        fuzz::broken(
            "the field keeps the normalised text",
            std::string(describe_control(id)) + " <- \"" + typed + "\": \"" + w.text(id) + "\"");
    }
    if (const auto range_index = range_of(id)) {
        const FrameRange& range = kFrameRanges[*range_index];
        if (range.from == id && w.value(range.box) == 1) {
            require(w.text(range.to) == w.text(id), "Estático copies \"Desde:\" into \"Hasta:\"",
                    describe_control(id));
        }
    }
}

// Longer runs are refused, as tavrix-script refuses them, so that the fuzzing keeps moving.
constexpr std::uint64_t kFrameLimit = 100'000;

// The file and the result boxes after a "Generar!": a failure leaves them as they were, and
// no temporary file outlives the run. The frames counted beforehand are the frames written.
void check_generate(const Form1& form, const Snapshot& before,
                    const std::optional<std::string>& earlier,
                    const std::optional<std::string>& file, const RunProgress& written) {
    const Window& w = form.window();
    if (const RunResult& run = *form.last_run(); !run.ok()) {
        require(file == earlier, "a failure leaves the earlier file intact");
        require(form.tick_total() == before.ticks, "a failure leaves the tick total");
        require(w.text(C::ticsI) == before.controls[index_of(C::ticsI)].text &&
                    w.text(C::tiempoI) == before.controls[index_of(C::tiempoI)].text,
                "a failure leaves the result boxes");
        require(!run.error().message.empty(), "a failure is explained");
        require(run.error().cause != FailureCause::TooManyFrames ||
                    form.run_size().frames > kFrameLimit,
                "only a run longer than the limit is refused");
        return;
    }
    require(file.has_value(), "a success leaves the file written");
    const RunSize counted = form.run_size();
    // An engine-ready run expands the frames twice (the first time to learn the scene's length).
    require(!counted.at_least && (form.engine_ready() || counted.frames == written.frames),
            "the frames counted beforehand are the frames written", std::to_string(written.frames));
    // The frame lines stand between the action's heading and the three closing lines.
    const std::string trailer =
        " \r\n; Tiempo = " + sign_padded_number_text(time_of_ticks(form.tick_total())) +
        "\r\n; Tics = " + sign_padded_number_text(form.tick_total()) + "\r\n";
    std::string heading;
    append_windows_1252("[Begin action " + w.text(C::Text16) + "]\r\n", heading);
    const std::size_t frames_end = file->size() - std::min(file->size(), trailer.size());
    const std::size_t frames_start =
        frames_end - std::min<std::size_t>(frames_end, counted.frame_bytes);
    require(file->ends_with(trailer) && frames_start >= heading.size() &&
                file->compare(frames_start - heading.size(), heading.size(), heading) == 0,
            "the bytes counted beforehand are the frame lines' bytes");
    require(w.text(C::ticsI) == std::to_string(form.tick_total()), "Tics shows the total");
    require(w.text(C::tiempoI) == number_text(time_of_ticks(form.tick_total())),
            "Tiempo shows the time of the total");
}

// The whole session, saved and opened in a fresh window, comes back exactly. Only a text that
// is not UTF-8, which no person can type, or the output's budget keeps it from being saved.
void check_round_trip(const Form1& form, const std::shared_ptr<fuzz::MemoryFile>& file) {
    if (const auto saved = form.save_session("sesion.tavrix"); !saved.ok()) {
        const std::string& message = saved.error().message;
        require(message.find("no es UTF-8 válido") != std::string::npos ||
                    message.find("no queda espacio") != std::string::npos,
                "a session can be saved", message);
        return;
    }
    Form1 fresh(Platform{.open_output = nullptr,
                         .encode = append_windows_1252,
                         .read_file = [&file](std::string_view, std::size_t) -> FileContents {
                             return file->committed;
                         }});
    const auto opened = fresh.open_session("sesion.tavrix");
    require(opened.ok(), "a saved session opens", opened.ok() ? "" : opened.error().message);
    require(fresh.holds(form.snapshot()), "the session opened is the one saved");
}

bool is_reload(ControlId id) {
    return id == C::botant || id == C::botsig || id == C::Command3 || id == C::Command2;
}

}  // namespace
}  // namespace tavrix

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavrix;
    const auto memory = std::make_shared<fuzz::MemoryFile>();
    const auto file = [&memory] {
        return memory->ever_committed ? std::optional(memory->committed) : std::nullopt;
    };
    FuzzedDataProvider input(data, size);
    Form1 form(Platform{fuzz::memory_output_factory(memory, kOutputBudget), append_windows_1252});
    form.set_frame_limit(kFrameLimit);
    RunProgress written;
    form.set_progress_hook([&written](const RunProgress& progress) {
        written = progress;
        return true;
    });
    bool reloaded = false;
    StoreMirror mirror(form.store());
    form.set_engine_ready(input.ConsumeBool());

    while (input.remaining_bytes() > 0) {
        const Snapshot before(form);
        const std::optional<std::string> earlier = file();
        const Position from = position_of(form);
        const bool typing = input.ConsumeBool();
        static const std::vector<ControlId> kTextBoxes = controls_of({Kind::TextBox});
        static const std::vector<ControlId> kClickables =
            controls_of({Kind::CheckBox, Kind::Button});
        const std::vector<ControlId>& choices = typing ? kTextBoxes : kClickables;
        const ControlId id =
            choices[input.ConsumeIntegralInRange<std::size_t>(0, choices.size() - 1)];
        const bool reachable =
            form.window().reachable(id) && !(typing && control_def(id).initially.read_only);
        std::optional<std::string> typed;
        ActionStatus status = ActionStatus::Done;
        written = {};
        if (typing) {
            typed = typed_text(input);
            status = form.type_text(id, *typed);
        } else {
            status = form.click(id);
        }
        const bool refused = status != ActionStatus::Done;
        const Position at = position_of(form);

        require(refused == !reachable, "exactly what a person cannot reach is refused",
                describe_control(id));
        if (refused) {
            require(Snapshot(form).controls == before.controls, "a refused action changes nothing",
                    describe_control(id));
            mirror.check_and_follow(std::nullopt, describe_control(id));
            continue;
        }
        if (!is_reload(id)) {
            require(at.scene == from.scene && at.animation == from.animation,
                    "only the arrows change the position", describe_control(id));
        } else {
            require(std::abs(at.scene - from.scene) + std::abs(at.animation - from.animation) <= 1,
                    "an arrow moves one step at most", describe_control(id));
            reloaded = true;
        }
        check_static_ranges(form.window());
        check_groups(form.window());
        mirror.check_and_follow(at, describe_control(id));
        // Every rule stores what it shows, so once a reload has brought every field in line
        // with the store they stay in line.
        if (reloaded)
            check_fields_match_store(form, at);
        if (typed)
            check_typed(form, id, *typed, before.controls[index_of(id)].text);
        if (id == C::Command1) {
            check_generate(form, before, earlier, file(), written);
            const Snapshot generated(form);
            (void)form.check();
            require(Snapshot(form).controls == generated.controls, "\"Comprobar\" changes nothing");
        } else {
            require(form.tick_total() == before.ticks, "only \"Generar!\" changes the total");
        }
    }
    check_round_trip(form, memory);
    return 0;
}
