#include "script/script_file.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace tavrix::script {
namespace {

std::string reason_of(std::error_code error) {
    if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory)
        return "no existe";
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
        return "no hay permiso para leerlo";
    if (error == std::errc::is_a_directory)
        return "es una carpeta";
    if (error == std::errc::filename_too_long)
        return "la ruta es demasiado larga";
    if (error == std::errc::too_many_symbolic_link_levels)
        return "hay un ciclo de enlaces simbólicos en la ruta";
    if (error == std::errc::io_error)
        return "error de entrada/salida";
    if (!error)
        return "error del sistema";
    return "error del sistema número " + std::to_string(error.value());
}

std::string last_error_reason() {
    return reason_of(std::error_code(errno, std::generic_category()));
}

}  // namespace

std::variant<std::ifstream, std::string> open_script(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error)
        return "no se puede abrir el guion: " + reason_of(error);
    if (fs::is_directory(status))
        return std::string("no se puede leer el guion: es una carpeta");
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return "no se puede abrir el guion: " + last_error_reason();
    // A pipe or a device can be read only once; its read errors are told at the line where
    // they happen.
    if (fs::is_regular_file(status)) {
        std::array<char, 64 * 1024> chunk;
        errno = 0;
        while (file.read(chunk.data(), chunk.size())) {
        }
        if (file.bad())
            return "no se puede leer el guion: " + last_error_reason();
        file.clear();
        file.seekg(0);
        if (!file)
            return "no se puede leer el guion: " + last_error_reason();
    }
    return file;
}

}  // namespace tavrix::script
