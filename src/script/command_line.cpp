#include "script/command_line.h"

namespace tavrix::script {
namespace {

[[nodiscard]] bool is_option(std::string_view argument) {
    return argument.size() > 1 && argument.front() == '-';
}

}  // namespace

CommandLine read_command_line(std::span<const std::string> arguments) {
    RunScript run;
    bool script_given = false;
    bool options_ended = false;
    for (const std::string& argument : arguments) {
        if (!options_ended && is_option(argument)) {
            if (argument == "--")
                options_ended = true;
            else if (argument == "-h" || argument == "--help")
                return ShowHelp{};
            else if (argument == "-V" || argument == "--version")
                return ShowVersion{};
            else
                return UsageError{"opción desconocida: " + argument};
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
           "  -h, --help     muestra esta ayuda y termina\n"
           "  -V, --version  muestra la versión y termina\n"
           "\n"
           "Acciones, una por línea:\n"
           "  set NOMBRE TEXTO               escribe TEXTO en la caja de texto NOMBRE\n"
           "  click NOMBRE                   marca la casilla o pulsa el botón NOMBRE\n"
           "  expect NOMBRE PROPIEDAD VALOR  comprueba una propiedad del control NOMBRE\n"
           "  dump                           escribe la ventana entera en una línea de JSON\n"
           "\n"
           "Estado de salida:\n"
           "  0  todo fue bien\n"
           "  1  un expect no se cumplió\n"
           "  2  una línea no se pudo leer o una acción no se pudo realizar\n"
           "  3  un \"Generar!\" no se pudo completar\n";
}

}  // namespace tavrix::script
