// "Generar!": writes the storyboard definition file from the fields as they stand, expanding
// the five frame ranges into the action's frame lines, and shows the tick total and the time
// in the Tics and Tiempo boxes. A run that cannot complete changes nothing: the file at the
// path, the result boxes and the tick total stay as they were.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/window.h"
#include "storyboard/output.h"

namespace tavrix {

struct RunProgress {
    std::uint64_t frames = 0;
    std::uint64_t bytes = 0;
};

// Called after every block written; returning false cancels the run.
using ProgressHook = std::function<bool(const RunProgress&)>;

enum class FailureCause : std::uint8_t { File, Field, TickTotal, Cancelled };

struct RunFailure {
    FailureCause cause;
    std::string message;  // Spanish, naming the path and the field or reason
};

struct RunSettings {
    Encoder encode;
    ProgressHook progress;  // may be empty
};

// The time value shown for a tick total: (total x 5) / 300.
double time_of_ticks(std::int32_t tick_total);

// The tick total restarts at 0 at the start of every run and is replaced only when the run
// succeeds.
std::optional<RunFailure> generate_storyboard(Window& window, std::int32_t& tick_total,
                                              Output& output, const RunSettings& settings);

}  // namespace tavrix
