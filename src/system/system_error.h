// What the system refused, as a value: which call, the system's own code and the path it was
// about. The Spanish words for it are made here, once, for the C library's error numbers and
// for Windows codes alike, so that every message names a cause the same way on either
// system, whether a file is written, read or a script's standard output fails.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace tavrix {

// The calls of the file layer, by what they do rather than by their name on one system.
enum class SystemCall : std::uint8_t {
    // Reading a file back.
    OpenForReading,
    ReadStatus,  // what stands at the path to be read
    Read,
    // Writing a file.
    FollowLink,  // what a path is, following its symbolic links
    Status,      // what stands at the path to be written
    Create,      // a new file, or an existing one opened to be written
    Write,
    Flush,  // the file's bytes to the disk
    Close,
    Name,  // a new file given its name
    Replace,
    SetOwner,
    SetMode,
    Reserve,   // the space for the new content
    ReadBack,  // the new content, read back to be copied over the old file
    Resize,
    // The standard output of tavrix-script.
    WriteStandardOutput,
};

// Whose numbers a code is.
enum class ErrorCodes : std::uint8_t {
    Errno,    // the C library's errno values, on either system
    Windows,  // the codes of GetLastError
};

struct SystemError {
    SystemCall call;
    ErrorCodes codes;
    std::uint32_t code;  // 0: the system gave none
    std::string path;    // the file or folder the call was about; empty for standard output

    bool operator==(const SystemError&) const = default;
};

[[nodiscard]] inline SystemError errno_error(SystemCall call, int code, std::string path) {
    return {call, ErrorCodes::Errno, static_cast<std::uint32_t>(code), std::move(path)};
}

// Why the call failed, in Spanish, as a message gives it after the path: "la carpeta no
// existe", "no hay permiso para leerlo", or "error del sistema número 31" for a code that
// has no words of its own.
[[nodiscard]] std::string system_error_words(const SystemError& error);

// The file layer's own refusals, which no system call gives.
inline constexpr const char* kNoFileName = "no se indicó ningún nombre de archivo";
inline constexpr const char* kNulInName = "nombre no válido (contiene un carácter nulo)";
inline constexpr const char* kIsAFolder = "la ruta es una carpeta";
inline constexpr const char* kNotARegularFile = "no es un archivo normal";

}  // namespace tavrix
