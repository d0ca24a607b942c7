// "Generar!": writes the storyboard definition file from the fields as they stand, expanding
// the five frame ranges into the action's frame lines. A run that cannot complete leaves the
// file at the path as it was.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/expected.h"
#include "model/controls.h"
#include "model/ranges.h"
#include "storyboard/output.h"

namespace tavrix {

// The texts of the fields that a run writes; a part whose box is not ticked is absent.
struct StoryboardFields {
    using Pair = std::array<std::string_view, 2>;
    using Colour = std::array<std::string_view, 3>;  // red, green, blue

    struct Fade {
        std::string_view in_time;
        Colour in_colour;
        std::string_view out_time;
    };
    struct Layer {
        std::string_view animation;
        Pair position;
        Pair offset;
        std::string_view start_time;
    };
    struct Music {
        std::string_view file;
        std::string_view loops;
    };
    struct Background {
        std::string_view action;
        Pair start;
    };

    std::string_view path;
    std::string_view sprite_file;
    std::optional<std::string_view> start_scene;
    std::optional<Fade> fade;
    Colour clear_colour;
    Layer layer;
    std::optional<Music> music;
    std::optional<Background> background;
    std::array<std::string_view, kRangeCount> from;  // the "Desde:" row
    std::array<std::string_view, kRangeCount> to;    // the "Hasta:" row
    // "Archivo listo para el motor": the scene also gets its length ("end.time") and, with
    // the background, the key that points at it ("bg.name").
    bool engine_ready = false;

    // The fields above that go into the file as typed, with the control each comes from, so
    // that a run can name those that held characters the code page cannot.
    struct Written {
        ControlId control;
        std::string_view text;
    };
    std::vector<Written> written;
};

struct RunProgress {
    std::uint64_t frames = 0;
    std::uint64_t bytes = 0;
};

// How long a run will be: its frame count and the bytes of its frame lines.
struct RunSize {
    std::uint64_t frames = 0;
    std::uint64_t frame_bytes = 0;  // in the file's code page, CR LF included
    bool at_least = false;          // a range could not be followed to its end: may be longer
};

// Called after every block written; returning false cancels the run.
using ProgressHook = std::function<bool(const RunProgress&)>;

struct RunSettings {
    Encoder encode;
    ProgressHook progress;         // may be empty
    std::uint64_t max_frames = 0;  // a longer run fails before it writes anything; 0: no limit
};

// The windows ask before a run of more frames than this, and tavrix-script refuses one
// unless told otherwise.
inline constexpr std::uint64_t kLargeRunFrames = 100'000'000;

// How many characters of a field the code page could not hold and the file has as "?".
struct ReplacedCharacters {
    ControlId field;
    std::uint64_t count;
};

// What the window shows in "Tics" and "Tiempo" after a run, and what it warns of.
struct RunTotals {
    std::int32_t ticks;
    double time;  // time_of_ticks(ticks)
    std::vector<ReplacedCharacters> replaced;
};

// The time value shown for a tick total: (total x 5) / 300.
double time_of_ticks(std::int32_t tick_total);

enum class FailureCause : std::uint8_t { File, Field, TickTotal, Cancelled, TooManyFrames };

struct RunFailure {
    FailureCause cause;
    std::string message;  // Spanish, naming the path and the field or reason
};

using RunResult = Expected<RunTotals, RunFailure>;

// How long a run of the fields would be.
[[nodiscard]] RunSize measure_run(const StoryboardFields& fields, Encoder encode);

// The scene's length that an engine-ready file gives: the whole part of the layer's start
// time (0 when it is not a number) plus the tick total, and at least 1.
double scene_length(std::string_view start_time, std::int32_t tick_total);

// The tick total starts at 0 in every run. An engine-ready run expands the frames twice:
// once without writing, for the scene's length, which comes before them in the file.
RunResult write_storyboard(const StoryboardFields& fields, Output& output,
                           const RunSettings& settings);

}  // namespace tavrix
