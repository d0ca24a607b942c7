// What both "Vista previa" windows show beside the stage, so that they say the same: their
// captions, the scales offered and the status line under the stage.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "app/preview.h"

namespace tavrix {

inline constexpr std::string_view kPreviewTitle = "Vista previa";
inline constexpr std::string_view kStepBackCaption = "Tic anterior";
inline constexpr std::string_view kStepForwardCaption = "Tic siguiente";
inline constexpr std::string_view kScaleCaption = "Escala:";
inline constexpr std::string_view kTimelineName = "Línea de tiempo";

// The stage is shown at a whole factor of its size, nearest pixel.
inline constexpr int kSmallestScale = 1;
inline constexpr int kLargestScale = 4;
inline constexpr int kDefaultScale = 2;

// While it plays a window asks for a redraw this often, a little more often than a tick
// lasts; which tick is drawn comes from the preview's clock.
inline constexpr int kRedrawMilliseconds = 15;

// A timeline counts in 32 bits; a scene longer than that (a year of ticks) ends its
// timeline there.
[[nodiscard]] inline int timeline_value(std::int64_t tick) {
    return static_cast<int>(std::min<std::int64_t>(tick, std::numeric_limits<std::int32_t>::max()));
}

// What a press of the play button does: "Reproducir" while paused, "Pausa" while playing.
[[nodiscard]] std::string_view play_caption(bool playing);
// "2×".
[[nodiscard]] std::string scale_caption(int factor);
// "Tic 42 de 120 · 0,70 s · marco 3 · sprite 0,2".
[[nodiscard]] std::string status_line(const PreviewStatus& status);

}  // namespace tavrix
