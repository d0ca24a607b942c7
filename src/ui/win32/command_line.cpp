#include "ui/win32/command_line.h"

#include <windows.h>

#include <shellapi.h>

#include <string_view>

#include "common/version.h"
#include "system/text_win32.h"

namespace tavrix::win32 {
namespace {

constexpr int kUsageError = 2;

constexpr std::string_view kHelp =
    "Uso: tavrix [OPCIÓN]... [SESIÓN]\n"
    "Abre la ventana del editor de intros animadas.\n"
    "\n"
    "Opciones:\n"
    "  -h, --help     muestra esta ayuda y termina\n"
    "  -V, --version  muestra la versión y termina\n";

[[nodiscard]] bool is_option(std::string_view argument) {
    return argument.size() > 1 && argument.front() == '-';
}

// A window program has no console of its own: its text goes to the handle it was given (a
// pipe, a file or a console), or else to the console of the prompt that started it.
void write_standard(DWORD which, std::string_view utf8) {
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        if (!AttachConsole(ATTACH_PARENT_PROCESS))
            return;
        handle = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = widen(utf8);
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    }
}

}  // namespace

std::vector<std::string> program_arguments() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; ++i)
        arguments.push_back(narrow(wide[i]));
    LocalFree(wide);
    return arguments;
}

CommandLine read_command_line(std::span<const std::string> arguments) {
    OpenWindow open;
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
        if (open.session)
            return UsageError{"solo se abre una sesión: sobra " + argument};
        open.session = argument;
    }
    return open;
}

std::optional<int> answer_without_window(const CommandLine& command) {
    if (std::holds_alternative<ShowHelp>(command)) {
        write_standard(STD_OUTPUT_HANDLE, kHelp);
        return 0;
    }
    if (std::holds_alternative<ShowVersion>(command)) {
        write_standard(STD_OUTPUT_HANDLE, std::string(kVersionLine) + '\n');
        return 0;
    }
    if (const auto* error = std::get_if<UsageError>(&command)) {
        write_standard(STD_ERROR_HANDLE,
                       "tavrix: " + error->message + " (tavrix --help muestra el uso)\n");
        return kUsageError;
    }
    return std::nullopt;
}

}  // namespace tavrix::win32
