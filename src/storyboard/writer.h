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
#include "storyboard/storyboard.h"
#include "system/output.h"

namespace tavrix {

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
    // A failure names the scene and the row (the animation) where it happened.
    bool names_rows = false;
};

// The windows ask before a run of more frames than this, and tavrix-script refuses one
// unless told otherwise.
inline constexpr std::uint64_t kLargeRunFrames = 100'000'000;

// A text that the file gets as typed: the field it comes from, and its scene (none for the
// header's). `frame`: a "Desde:" value, which its row's frame lines start from.
struct WrittenText {
    ControlId field;
    std::optional<std::size_t> scene;
    std::string_view text;
    bool frame = false;
};

// Every text that "Generar!" copies into the file as typed, in the order of the file: the
// header's keys, then each scene's keys and the "Desde:" values of the action it writes.
[[nodiscard]] std::vector<WrittenText> written_texts(const Storyboard& storyboard);

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
    std::size_t scenes;  // how many the file holds
};

// The time value shown for a tick total: (total x 5) / 300.
double time_of_ticks(std::int32_t tick_total);

// NoScene and SharedAction refuse a whole storyboard before anything is written.
enum class FailureCause : std::uint8_t {
    File,
    Field,
    TickTotal,
    Cancelled,
    TooManyFrames,
    NoScene,
    SharedAction
};

struct RunFailure {
    FailureCause cause;
    std::string message;  // Spanish, naming the path and the field or reason
};

using RunResult = Expected<RunTotals, RunFailure>;

// How long a run of the storyboard would be.
[[nodiscard]] RunSize measure_run(const Storyboard& storyboard, Encoder encode);

// The scene's length that an engine-ready file gives: the whole part of the layer's start
// time (0 when it is not a number) plus the tick total, and at least 1.
double scene_length(std::string_view start_time, std::int32_t tick_total);

// Writes the storyboard to `path`: the header, then each scene as "[Scene i]" with its
// action. With the engine keys, a text holding a CR, LF or NUL is refused before the file is
// touched. Scenes whose layers play the same action number share the first one's action,
// written once (see shared_actions.h). Each action's tick total starts at 0; the run's is their
// sum. A scene with its engine keys expands its frames twice: once without writing, for its length,
// which comes before them in the file.
RunResult write_storyboard(const Storyboard& storyboard, std::string_view path, Output& output,
                           const RunSettings& settings);

}  // namespace tavrix
