#include "script/command_line.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <system_error>

namespace tavrix::script {
namespace {

[[nodiscard]] bool is_option(std::string_view argument) {
    return argument.size() > 1 && argument.front() == '-';
}

constexpr std::string_view kMaxFrames = "--max-frames";

// The frame limit's count, whole digits only.
[[nodiscard]] bool read_frame_count(std::string_view text, std::uint64_t& count) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    return !text.empty() && error == std::errc{} && end == text.data() + text.size();
}

using Argument = std::span<const std::string>::iterator;

// Reads "--max-frames N" or "--max-frames=N" at `at`, and moves past its count.
std::optional<UsageError> read_max_frames(Argument& at, Argument end, std::uint64_t& max_frames) {
    std::string_view count;
    if (at->size() > kMaxFrames.size()) {
        count = std::string_view(*at).substr(kMaxFrames.size() + 1);
    } else if (++at != end) {
        count = *at;
    } else {
        return UsageError{"falta el número de cuadros de --max-frames"};
    }
    if (!read_frame_count(count, max_frames))
        return UsageError{"--max-frames lleva un número entero de cuadros: " + std::string(count)};
    return std::nullopt;
}

}  // namespace

CommandLine read_command_line(std::span<const std::string> arguments) {
    RunScript run;
    bool script_given = false;
    bool options_ended = false;
    for (auto at = arguments.begin(); at != arguments.end(); ++at) {
        const std::string& argument = *at;
        if (!options_ended && is_option(argument)) {
            if (argument == "--") {
                options_ended = true;
            } else if (argument == "-h" || argument == "--help") {
                return ShowHelp{};
            } else if (argument == "-V" || argument == "--version") {
                return ShowVersion{};
            } else if (argument.substr(0, argument.find('=')) == kMaxFrames) {
                if (auto error = read_max_frames(at, arguments.end(), run.options.max_frames))
                    return *error;
            } else {
                return UsageError{"opción desconocida: " + argument};
            }
            continue;
        }
        if (script_given)
            return UsageError{"solo se admite un guion: sobra " + argument};
        run.script = argument;
        script_given = true;
    }
    return run;
}

std::string_view help_text() {
    return "Uso: tavrix-script [OPCIÓN]... [GUION]\n"
           "\n"
           "Crea la ventana del editor sin mostrarla y realiza las acciones del GUION como lo\n"
           "haría una persona. Sin GUION, o con -, lee las acciones de la entrada estándar.\n"
           "\n"
           "Opciones:\n"
           "  --max-frames N  cada \"Generar!\" de más de N cuadros falla antes de escribir\n"
           "                  nada (100000000 si no se indica; 0: sin límite)\n"
           "  -h, --help      muestra esta ayuda y termina\n"
           "  -V, --version   muestra la versión y termina\n"
           "\n"
           "Acciones, una por línea:\n"
           "  set NOMBRE TEXTO               escribe TEXTO en la caja de texto NOMBRE\n"
           "  click NOMBRE                   marca la casilla o pulsa el botón NOMBRE\n"
           "  expect NOMBRE PROPIEDAD VALOR  comprueba una propiedad del control NOMBRE\n"
           "  dump                           escribe la ventana entera en una línea de JSON\n"
           "  save RUTA                      guarda la sesión entera en el archivo RUTA\n"
           "  open RUTA                      abre la sesión guardada en el archivo RUTA\n"
           "\n"
           "Estado de salida:\n"
           "  0  todo fue bien\n"
           "  1  un expect no se cumplió\n"
           "  2  una línea no se pudo leer o una acción no se pudo realizar, o el GUION no se\n"
           "     pudo abrir ni leer (entonces no se hace nada)\n"
           "  3  un \"Generar!\", save u open no se pudo completar (también un \"Generar!\"\n"
           "     de más de --max-frames cuadros)\n";
}

}  // namespace tavrix::script
