// tavrix-script [SCRIPT]: performs a script's actions on the editor window without showing it.
#include <fstream>
#include <iostream>
#include <string_view>

#include "script/runner.h"
#include "storyboard/system_output.h"

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "uso: tavrix-script [GUION]\n";
        return tavrix::script::kScriptError;
    }
    const std::string_view name = argc == 2 ? std::string_view(argv[1]) : std::string_view("-");
    const tavrix::Platform platform{tavrix::system_output_factory(), tavrix::system_encoder()};
    if (name == "-") {
        return tavrix::script::run_script(std::cin, name, std::cout, std::cerr, platform);
    }
    std::ifstream file{std::string(name), std::ios::binary};
    if (!file) {
        std::cerr << name << ": no se pudo abrir el guion\n";
        return tavrix::script::kScriptError;
    }
    return tavrix::script::run_script(file, name, std::cout, std::cerr, platform);
}
