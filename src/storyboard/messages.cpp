#include "storyboard/messages.h"

#include <array>
#include <cmath>

#include "common/encoding.h"
#include "model/names.h"

namespace tavrix {

std::string size_text(std::uint64_t bytes) {
    static constexpr std::array<std::string_view, 3> kUnits = {"KB", "MB", "GB"};
    if (bytes < 1000)
        return std::to_string(bytes) + " bytes";
    double amount = static_cast<double>(bytes);
    std::size_t unit = 0;
    for (amount /= 1000; amount >= 1000 && unit + 1 < kUnits.size(); amount /= 1000)
        ++unit;
    std::string text;
    if (amount >= 99.95) {
        text = grouped_number(static_cast<std::uint64_t>(std::llround(amount)));
    } else {
        const auto tenths = static_cast<std::uint64_t>(std::llround(amount * 10));
        text = std::to_string(tenths / 10) + "," + std::to_string(tenths % 10);
    }
    text += ' ';
    text += kUnits[unit];
    return text;
}

std::string run_size_text(const RunSize& size) {
    std::string text = size.at_least ? "más de " : "";
    text += grouped_number(size.frames);
    text += size.at_least ? " cuadros (más de " : " cuadros (unos ";
    text += size_text(size.frame_bytes);
    text += ')';
    return text;
}

std::optional<std::string> long_run_question(const RunSize& size) {
    if (size.frames <= kLargeRunFrames)
        return std::nullopt;
    return "Se van a escribir " + run_size_text(size) + ". ¿Continuar?";
}

std::string progress_text(const RunProgress& progress) {
    return "Generando el archivo…\nCuadros: " + grouped_number(progress.frames) +
           "\nBytes escritos: " + grouped_number(progress.bytes);
}

std::string replacement_warning(const RunTotals& totals) {
    if (totals.replaced.empty())
        return {};
    std::uint64_t count = 0;
    std::string fields;
    for (const ReplacedCharacters& replaced : totals.replaced) {
        count += replaced.count;
        fields += fields.empty() ? "\"" : ", \"";
        fields += control_name(replaced.field) + "\" (" + grouped_number(replaced.count) + ")";
    }
    return "El archivo se generó, pero la página de códigos no admite " + grouped_number(count) +
           (count == 1 ? " carácter, que se escribió" : " caracteres, que se escribieron") +
           " como \"?\", en " + fields + ".";
}

std::optional<Notice> run_notice(const RunResult& run) {
    if (!run.ok()) {
        if (run.error().cause == FailureCause::Cancelled)
            return std::nullopt;
        return Notice{MessageKind::Failure, run.error().message};
    }
    if (std::string warning = replacement_warning(run.value()); !warning.empty())
        return Notice{MessageKind::Warning, std::move(warning)};
    return std::nullopt;
}

std::optional<Notice> export_notice(const RunResult& run, std::string_view path) {
    if (!run.ok() || !run.value().replaced.empty())
        return run_notice(run);
    return Notice{MessageKind::Information,
                  "Se generó " + quoted_for_message(path, kMessagePathLimit) +
                      ". Escenas: " + grouped_number(run.value().scenes) + "."};
}

}  // namespace tavrix
