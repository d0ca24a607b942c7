#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <optional>
#include <random>
#include <string>
#include <utility>

#include "common/encoding.h"
#include "system/file_output.h"
#include "system/platform.h"

namespace tavrix {
namespace {

std::string directory_of(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// Follows symbolic links to the path that is finally written (the link itself stays).
bool resolve_links(std::string& path, int& error) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0) {
            if (errno == ENOENT)
                return true;  // a missing file is created
            error = errno;
            return false;
        }
        if (!S_ISLNK(info.st_mode))
            return true;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            error = errno;
            return false;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : directory_of(path) + "/" + target;
    }
    error = ELOOP;
    return false;
}

// Makes a call again while a signal interrupts it.
template <typename Call>
auto retrying(Call call) {
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR)
            return result;
    }
}

std::string temporary_name(const std::string& directory) {
    static std::mt19937_64 random{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = directory + "/.tavrix-";
    for (int i = 0; i < 10; ++i)
        name.push_back(kLetters[random() % (sizeof kLetters - 1)]);
    return name + ".tmp";
}

class PosixFileOutput final : public Output {
  public:
    explicit PosixFileOutput(std::shared_ptr<FileCalls> calls) : calls_(std::move(calls)) {}
    ~PosixFileOutput() override { abandon(); }

    IoStatus open(std::string_view path) override {
        if (path.empty())
            return IoStatus::failure("no se indicó ningún nombre de archivo");
        target_ = std::string(path);
        int error = 0;
        if (!resolve_links(target_, error))
            return failure(error);
        struct stat info {};
        const bool exists = ::stat(target_.c_str(), &info) == 0;
        if (exists && S_ISDIR(info.st_mode))
            return failure(EISDIR);
        if (exists && !S_ISREG(info.st_mode))
            return open_directly();
        return open_temporary(exists ? std::optional<unsigned>(info.st_mode & 07777)
                                     : std::nullopt);
    }

    // Partial writes go on from where they stopped; a write that takes nothing means the
    // device is full.
    IoStatus write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const long written =
                retrying([&] { return calls_->write(fd_, bytes.data(), bytes.size()); });
            if (written < 0)
                return failure(errno);
            if (written == 0)
                return failure(ENOSPC);
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return IoStatus::success();
    }

    // The new file reaches the disk before it takes the old one's place, so that a power
    // cut leaves one or the other whole.
    IoStatus commit() override {
        if (temporary_.empty())  // a device or a FIFO, written in place
            return close_file();
        if (retrying([&] { return calls_->flush(fd_); }) != 0)
            return failure(errno);
        if (IoStatus closed = close_file(); !closed.ok())
            return closed;
        if (retrying([&] { return calls_->replace(temporary_.c_str(), target_.c_str()); }) != 0)
            return failure(errno);
        temporary_.clear();
        // The rename is done; a directory that cannot be synced loses nothing already there.
        retrying([&] { return calls_->sync_directory(directory_of(target_).c_str()); });
        return IoStatus::success();
    }

    void abandon() noexcept override {
        if (fd_ >= 0)
            calls_->close(std::exchange(fd_, -1));
        if (!temporary_.empty())
            retrying([&] { return calls_->remove(temporary_.c_str()); });
        temporary_.clear();
    }

  private:
    static IoStatus failure(int error) { return IoStatus::failure(describe_errno(error)); }

    // Linux releases the descriptor even when close reports EINTR, so closing again could
    // close someone else's; the data was flushed before, so EINTR here is no failure.
    IoStatus close_file() {
        if (calls_->close(std::exchange(fd_, -1)) != 0 && errno != EINTR)
            return failure(errno);
        return IoStatus::success();
    }

    IoStatus open_directly() {
        fd_ = retrying([&] { return calls_->create(target_.c_str(), false, 0666); });
        if (fd_ < 0)
            return failure(errno);
        return IoStatus::success();
    }

    IoStatus open_temporary(std::optional<unsigned> keep_mode) {
        const std::string directory = directory_of(target_);
        for (int attempt = 0; attempt < 16; ++attempt) {
            std::string name = temporary_name(directory);
            fd_ = retrying([&] { return calls_->create(name.c_str(), true, 0666); });
            if (fd_ >= 0) {
                temporary_ = std::move(name);
                break;
            }
            if (errno != EEXIST)
                return failure(errno);
        }
        if (fd_ < 0)
            return failure(EEXIST);
        if (keep_mode && retrying([&] { return calls_->set_mode(fd_, *keep_mode); }) != 0) {
            const int error = errno;
            abandon();
            return failure(error);
        }
        return IoStatus::success();
    }

    std::shared_ptr<FileCalls> calls_;
    std::string target_;
    std::string temporary_;  // empty when writing in place
    int fd_ = -1;
};

}  // namespace

int FileCalls::create(const char* path, bool exclusive, unsigned mode) {
    if (exclusive) {
        const int fd =
            ::open(path, O_WRONLY | O_CLOEXEC | O_CREAT | O_EXCL, static_cast<mode_t>(mode));
        if (fd >= 0)
            new_file_ = fd;
        return fd;
    }
    // Without O_NONBLOCK a FIFO with no reader would hold the window forever; once open, the
    // writes may block again like any other.
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC | O_TRUNC | O_NONBLOCK);
    if (fd < 0)
        return fd;
    if (fd == new_file_)  // closed behind close()'s back: the number is this one's now
        new_file_ = -1;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}
// A FIFO whose reader went away must not end the program with SIGPIPE: the signal is held
// back during the write, and the one the write raised is taken off again.
long FileCalls::write(int fd, const char* bytes, unsigned long size) {
    if (fd == new_file_)
        return ::write(fd, bytes, size);
    sigset_t pipe_only;
    sigset_t previous;
    sigemptyset(&pipe_only);
    sigaddset(&pipe_only, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_only, &previous);
    const long written = ::write(fd, bytes, size);
    const int error = errno;
    if (written < 0 && error == EPIPE && !sigismember(&previous, SIGPIPE)) {
        const timespec no_wait{};
        sigtimedwait(&pipe_only, nullptr, &no_wait);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    return written;
}
int FileCalls::flush(int fd) {
    return ::fsync(fd);
}
int FileCalls::close(int fd) {
    if (fd == new_file_)
        new_file_ = -1;
    return ::close(fd);
}
int FileCalls::replace(const char* from, const char* to) {
    return ::rename(from, to);
}
int FileCalls::remove(const char* path) {
    return ::unlink(path);
}
int FileCalls::set_mode(int fd, unsigned mode) {
    return ::fchmod(fd, static_cast<mode_t>(mode));
}
int FileCalls::sync_directory(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
}

std::string describe_errno(int error) {
    switch (error) {
        case ENOENT:
            return "la carpeta no existe";
        case ENOTDIR:
            return "una parte de la ruta no es una carpeta";
        case EISDIR:
            return "la ruta es una carpeta";
        case EACCES:
        case EPERM:
            return "no hay permiso para escribir ahí";
        case ENOSPC:
            return "no queda espacio en el disco";
        case EDQUOT:
            return "se superó la cuota de disco";
        case ENAMETOOLONG:
            return "la ruta es demasiado larga";
        case EROFS:
            return "el sistema de archivos es de solo lectura";
        case ELOOP:
            return "hay demasiados enlaces simbólicos en la ruta";
        case EIO:
            return "error de entrada/salida del disco";
        case EFBIG:
            return "el archivo es demasiado grande";
        case ETXTBSY:
        case EBUSY:
            return "el archivo está en uso";
        case EMFILE:
        case ENFILE:
            return "hay demasiados archivos abiertos";
        case EEXIST:
            return "no se pudo crear un archivo temporal";
        case ENXIO:
            return "ningún programa lee de la tubería o el dispositivo no responde";
        case EPIPE:
            return "el programa que leía de la tubería la cerró";
        default:
            return "error del sistema número " + std::to_string(error);
    }
}

std::unique_ptr<Output> make_file_output(std::shared_ptr<FileCalls> calls) {
    if (!calls)
        calls = std::make_shared<FileCalls>();
    return std::make_unique<PosixFileOutput>(std::move(calls));
}

Platform system_platform() {
    return Platform{[] { return make_file_output(); }, append_windows_1252,
                    [](std::string_view path) {
                        struct stat status {};
                        return ::stat(std::string(path).c_str(), &status) == 0;
                    }};
}

}  // namespace tavrix
