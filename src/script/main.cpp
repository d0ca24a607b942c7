// tavrix-script [OPTION]... [SCRIPT]: performs a script's actions on the editor window
// without showing it.
#include <iostream>
#include <string>
#include <variant>
#include <vector>

#include "common/version.h"
#include "script/command_line.h"
#include "script/runner.h"
#include "script/script_file.h"
#include "system/file_output.h"
#include "system/platform.h"
#ifdef _WIN32
#include "system/text_win32.h"
#endif

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

using namespace tavrix::script;

int run(const RunScript& command) {
    const tavrix::Platform platform = tavrix::system_platform();
    const std::string& name = command.script;
    if (name == "-")
        return run_script(std::cin, name, std::cout, std::cerr, platform, command.options);
    const auto script = read_script(name);
    if (!script.ok()) {
        std::cerr << name << ":0: " << script.error().message << '\n';
        return kScriptError;
    }
    return run_script(std::string_view(script.value()), name, std::cout, std::cerr, platform,
                      command.options);
}

int print(std::string_view text) {
    std::cout << text << std::flush;
    return std::cout ? kOk : kScriptError;
}

int run_command_line(const std::vector<std::string>& arguments) {
    const CommandLine command = read_command_line(arguments);
    if (std::holds_alternative<ShowHelp>(command))
        return print(help_text());
    if (std::holds_alternative<ShowVersion>(command))
        return print(std::string(tavrix::kVersionLine) + '\n');
    if (const auto* error = std::get_if<UsageError>(&command)) {
        std::cerr << "tavrix-script: " << error->message
                  << " (tavrix-script --help muestra el uso)\n";
        return kScriptError;
    }
    return run(std::get<RunScript>(command));
}

// Before anything is read or written: how signals, closed descriptors and huge texts are met.
void prepare_process() {
    tavrix::prepare_process_for_files();
    tavrix::stop_writing_on_termination_signals();
#ifdef __GLIBC__
    // Huge field texts get memory of their own that goes back to the system when freed;
    // otherwise the allocator keeps each freed copy and a long line costs several times
    // its size.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

}  // namespace

#ifdef _WIN32
// Wide characters: the ANSI command line would turn a name outside the code page into "?".
int wmain(int argc, wchar_t** argv) {
    prepare_process();
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(tavrix::narrow(argv[i]));
    return run_command_line(arguments);
}
#else
int main(int argc, char** argv) {
    prepare_process();
    return run_command_line({argv + 1, argv + argc});
}
#endif
