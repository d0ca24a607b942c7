#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "system/file_input.h"

namespace tavrix {

// A FIFO without a writer would hold the window forever at open; once open, reads wait as
// any other.
int open_for_reading(const std::string& path) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fd;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

namespace {

ReadFailure failure(SystemCall call, std::string_view path, int error = errno) {
    return ReadFailure::of(errno_error(call, error, std::string(path)));
}

FileContents read_all(int fd, std::string_view path, std::size_t limit) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return failure(SystemCall::ReadStatus, path);
    if (S_ISDIR(info.st_mode))
        return ReadFailure{kIsAFolder};
    std::string bytes;
    if (S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) <= limit)
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    char block[64 * 1024];
    while (bytes.size() <= limit) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failure(SystemCall::Read, path);
        if (got == 0)
            break;
        bytes.append(block, static_cast<std::size_t>(got));
    }
    if (bytes.size() > limit)
        bytes.resize(limit + 1);
    return bytes;
}

// `fd` as the open gave it, -1 with errno on failure.
FileContents read_opened(int fd, std::string_view path, std::size_t limit) {
    if (fd < 0)
        return failure(SystemCall::OpenForReading, path);
    FileContents contents = read_all(fd, path, limit);
    ::close(fd);
    return contents;
}

}  // namespace

FileContents read_system_file(std::string_view path, std::size_t limit) {
    if (path.empty())
        return ReadFailure{kNoFileName};
    return read_opened(open_for_reading(std::string(path)), path, limit);
}

FileContents read_command_input(std::string_view path, std::size_t limit) {
    if (path.empty())
        return ReadFailure{kNoFileName};
    const std::string name(path);
    return read_opened(::open(name.c_str(), O_RDONLY | O_CLOEXEC), path, limit);
}

bool system_file_exists(std::string_view path) {
    struct stat status {};
    return ::stat(std::string(path).c_str(), &status) == 0;
}

}  // namespace tavrix
