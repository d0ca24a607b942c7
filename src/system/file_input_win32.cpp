#include <windows.h>

#include <optional>
#include <string>

#include "system/file_input.h"
#include "system/text_win32.h"

namespace tavrix {

namespace {

ReadFailure failure(SystemCall call, std::string_view path, DWORD code = GetLastError()) {
    return ReadFailure::of(SystemError{call, ErrorCodes::Windows, code, std::string(path)});
}

FileContents read_all(HANDLE file, std::string_view path, std::size_t limit) {
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && static_cast<unsigned long long>(size.QuadPart) <= limit)
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    char block[64 * 1024];
    while (bytes.size() <= limit) {
        DWORD got = 0;
        if (!ReadFile(file, block, sizeof block, &got, nullptr)) {
            const DWORD error = GetLastError();
            if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF)
                break;
            return failure(SystemCall::Read, path, error);
        }
        if (got == 0)
            break;
        bytes.append(block, got);
    }
    if (bytes.size() > limit)
        bytes.resize(limit + 1);
    return bytes;
}

}  // namespace

FileContents read_system_file(std::string_view path, std::size_t limit) {
    if (path.empty())
        return ReadFailure{kNoFileName};
    const std::optional<std::wstring> wide = widen_exact(path);
    if (!wide)
        return failure(SystemCall::OpenForReading, path, ERROR_INVALID_NAME);
    const DWORD attributes = GetFileAttributesW(wide->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ReadFailure{kIsAFolder};
    HANDLE file = CreateFileW(wide->c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return failure(SystemCall::OpenForReading, path);
    FileContents contents = read_all(file, path, limit);
    CloseHandle(file);
    return contents;
}

// A named pipe opens at once or not at all: there is no wait to tell apart.
FileContents read_command_input(std::string_view path, std::size_t limit) {
    return read_system_file(path, limit);
}

bool system_file_exists(std::string_view path) {
    return GetFileAttributesW(widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace tavrix
