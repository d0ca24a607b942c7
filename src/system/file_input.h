// Files read back whole: sessions to open, scripts to run, storyboards to import; and whether
// a file is there at all, as "Comprobar" asks of the files a storyboard names.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/expected.h"
#include "system/system_error.h"

namespace tavrix {

// Whether a file is at a path.
using FileExists = std::function<bool(std::string_view path)>;

// Why a file cannot be read, in Spanish ("el archivo no existe"), and, when a system call
// refused, what it was.
struct ReadFailure {
    std::string reason;
    std::optional<SystemError> system_error = std::nullopt;

    static ReadFailure of(SystemError error) {
        std::string words = system_error_words(error);
        return {std::move(words), std::move(error)};
    }
};
using FileContents = Expected<std::string, ReadFailure>;

// Reads a whole file. A file larger than `limit` gives only `limit + 1` bytes, enough to
// refuse it.
using FileReader = std::function<FileContents(std::string_view path, std::size_t limit)>;

// The same on the real file system.
FileContents read_system_file(std::string_view path, std::size_t limit);
// The same as a command run from a shell reads its input: at a FIFO the open waits for a
// program to write to it (the window never waits there), and a signal ends that wait.
FileContents read_command_input(std::string_view path, std::size_t limit);
bool system_file_exists(std::string_view path);

#ifndef _WIN32
// Opens a file for reading without waiting at a FIFO that has no writer; -1 and errno on
// failure.
int open_for_reading(const std::string& path);
#endif

}  // namespace tavrix
