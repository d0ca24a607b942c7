#include "script/script_file.h"

#include <cerrno>
#include <limits>
#include <new>

#include "system/file_input.h"

namespace tavrix::script {
namespace {

// A script has no size limit of its own: it is as large as memory lets it be.
constexpr std::size_t kWholeFile = std::numeric_limits<std::size_t>::max() - 1;

UnreadableScript unreadable(bool opening, std::string reason) {
    return {(opening ? "no se puede abrir el guion: " : "no se puede leer el guion: ") +
            std::move(reason)};
}

// What stops the file before it is open is told apart from what stops it once open (a
// folder, a read error).
UnreadableScript unreadable(const ReadFailure& failure) {
    const bool opening = failure.system_error && failure.system_error->call != SystemCall::Read;
    return unreadable(opening, failure.reason);
}

}  // namespace

Expected<std::string, UnreadableScript> read_script(std::string_view path) {
    // An empty name names no file, and is said to be missing as any other would be.
    if (path.empty())
        return unreadable(true,
                          system_error_words(errno_error(SystemCall::OpenForReading, ENOENT, {})));
    try {
        FileContents contents = read_command_input(path, kWholeFile);
        if (!contents.ok())
            return unreadable(contents.error());
        return std::move(contents.value());
    } catch (const std::bad_alloc&) {
        return unreadable(
            false, system_error_words(errno_error(SystemCall::Read, ENOMEM, std::string(path))));
    }
}

}  // namespace tavrix::script
