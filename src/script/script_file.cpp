#include "script/script_file.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "system/system_error.h"

namespace tavrix::script {
namespace {

std::string utf8_of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A system error code as the file layer names it; on Windows the library may give either
// errno values or the system's own codes.
std::string reason_of(SystemCall call, std::error_code error, const std::filesystem::path& path) {
    ErrorCodes codes = ErrorCodes::Errno;
#ifdef _WIN32
    if (error.category() == std::system_category())
        codes = ErrorCodes::Windows;
#endif
    return system_error_words(
        SystemError{call, codes, static_cast<std::uint32_t>(error.value()), utf8_of(path)});
}

std::string last_error_reason(SystemCall call, const std::filesystem::path& path) {
    return system_error_words(errno_error(call, errno, utf8_of(path)));
}

}  // namespace

std::variant<std::ifstream, std::string> open_script(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error)
        return "no se puede abrir el guion: " + reason_of(SystemCall::ReadStatus, error, path);
    if (fs::is_directory(status))
        return std::string("no se puede leer el guion: ") + kIsAFolder;
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return "no se puede abrir el guion: " + last_error_reason(SystemCall::OpenForReading, path);
    // A pipe or a device can be read only once; its read errors are told at the line where
    // they happen.
    if (fs::is_regular_file(status)) {
        std::array<char, 64 * 1024> chunk;
        errno = 0;
        while (file.read(chunk.data(), chunk.size())) {
        }
        if (file.bad())
            return "no se puede leer el guion: " + last_error_reason(SystemCall::Read, path);
        file.clear();
        file.seekg(0);
        if (!file)
            return "no se puede leer el guion: " + last_error_reason(SystemCall::Read, path);
    }
    return file;
}

}  // namespace tavrix::script
