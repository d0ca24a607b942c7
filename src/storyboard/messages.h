// The texts a person reads about a run, and how a window shows them, built here once so that
// both windows and tavrix-script say the same thing in the same words.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/numbers.h"
#include "storyboard/writer.h"

namespace tavrix {

// A size in bytes, KB, MB or GB (powers of 1000), with a decimal comma below 100: "52 bytes",
// "20,9 GB", "1.250 GB".
[[nodiscard]] std::string size_text(std::uint64_t bytes);

// "N cuadros (unos X GB)", or "más de N cuadros (más de X GB)" when the count is a floor.
[[nodiscard]] std::string run_size_text(const RunSize& size);

// What to ask before a run of more than kLargeRunFrames frames: "Se van a escribir N cuadros
// (unos X GB). ¿Continuar?". Nothing for a shorter run.
[[nodiscard]] std::optional<std::string> long_run_question(const RunSize& size);

// What the progress dialog of a long run shows, on three lines.
[[nodiscard]] std::string progress_text(const RunProgress& progress);

// After a run that wrote "?" for characters the code page cannot hold: how many and in which
// fields. Empty when every character fitted.
[[nodiscard]] std::string replacement_warning(const RunTotals& totals);

// How a window shows a message: the icon, with the window's caption as the title and one
// button, kCloseButton.
enum class MessageKind : std::uint8_t { Failure, Warning, Information };
inline constexpr std::string_view kCloseButton = "Aceptar";
// The buttons of a yes-or-no question, and of the button that gives up.
inline constexpr std::string_view kYesButton = "Sí";
inline constexpr std::string_view kNoButton = "No";
inline constexpr std::string_view kCancelButton = "Cancelar";

struct Notice {
    MessageKind kind;
    std::string text;
};

// What a window tells a person after a run: why it failed, or what it warns of; nothing
// after a clean run or one the person cancelled.
[[nodiscard]] std::optional<Notice> run_notice(const RunResult& run);

// After "Generar storyboard completo", which a person cannot see on the form: run_notice's
// failure or warning, or which file now holds how many scenes.
[[nodiscard]] std::optional<Notice> export_notice(const RunResult& run, std::string_view path);

}  // namespace tavrix
