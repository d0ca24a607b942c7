#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "common/encoding.h"
#include "system/file_input.h"
#include "system/file_output.h"
#include "system/platform.h"

namespace tavrix {
namespace {

volatile sig_atomic_t g_termination_signal = 0;
// Set once the program ignores SIGPIPE and SIGXFSZ, so that writes need not hold them back.
std::atomic<bool> g_write_signals_ignored{false};

// While a write waits for a slow reader, the person is asked this often whether to go on.
constexpr int kWaitSliceMs = 50;
constexpr std::size_t kCopyBlock = 64 * 1024;

const char* const kReadOnly = "el archivo es de solo lectura";
const char* const kForeignLink =
    "el enlace simbólico es de otro usuario en una carpeta compartida; no se sigue";
const char* const kSocket = "la ruta es un socket, no un archivo";

std::string directory_of(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// Makes a call again while a signal interrupts it, unless the program was told to end.
template <typename Call>
auto retrying(Call call) {
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR || g_termination_signal != 0)
            return result;
    }
}

// What the call on `path` failed with, as the system said it.
IoStatus failure(SystemCall call, const std::string& path, int error = errno) {
    return IoStatus::failure(errno_error(call, error, path));
}

// The rule the kernel applies to its own path walks: in a folder that is sticky and writable
// by everyone (such as /tmp), a link is followed only when it belongs to the person or to
// the folder's owner. Following links ourselves must not get round it.
bool may_follow(const std::string& link, const struct stat& link_info) {
    struct stat folder {};
    if (::stat(directory_of(link).c_str(), &folder) != 0)
        return true;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || link_info.st_uid == ::geteuid() || link_info.st_uid == folder.st_uid;
}

// Follows symbolic links to the path that is finally written (the link itself stays).
IoStatus resolve_links(std::string& path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0)
            return errno == ENOENT ? IoStatus::success()  // missing: created
                                   : failure(SystemCall::FollowLink, path);
        if (!S_ISLNK(info.st_mode))
            return IoStatus::success();
        if (!may_follow(path, info))
            return IoStatus::failure(kForeignLink);
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0)
            return failure(SystemCall::FollowLink, path);
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : directory_of(path) + "/" + target;
    }
    return failure(SystemCall::FollowLink, path, ELOOP);
}

bool writable(const std::string& path, int what) {
    return ::faccessat(AT_FDCWD, path.c_str(), what, AT_EACCESS) == 0;
}

// A file mounted over another (a bind mount) cannot be replaced, only written.
bool is_mount_point(const std::string& file, const std::string& folder) {
    struct statx file_info {};
    struct statx folder_info {};
    if (::statx(AT_FDCWD, file.c_str(), 0, STATX_MNT_ID, &file_info) != 0 ||
        ::statx(AT_FDCWD, folder.c_str(), 0, STATX_MNT_ID, &folder_info) != 0)
        return false;
    if ((file_info.stx_mask & folder_info.stx_mask & STATX_MNT_ID) == 0)
        return file_info.stx_dev_major != folder_info.stx_dev_major ||
               file_info.stx_dev_minor != folder_info.stx_dev_minor;
    return file_info.stx_mnt_id != folder_info.stx_mnt_id;
}

// The errors with which a file system without unnamed files answers.
bool lacks_unnamed_files(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

std::string random_name(const std::string& directory) {
    static std::mt19937_64 random{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = directory + "/.tavrix-";
    for (int i = 0; i < 10; ++i)
        name.push_back(kLetters[random() % (sizeof kLetters - 1)]);
    return name + ".tmp";
}

std::string staging_folder() {
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

// Holds back the signals that end a program while the new file has a temporary name, so
// that only a kill can leave that name behind, in a moment of two system calls.
class TerminationHeld {
  public:
    TerminationHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
            sigaddset(&held, signal);
        pthread_sigmask(SIG_BLOCK, &held, &previous_);
    }
    ~TerminationHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    TerminationHeld(const TerminationHeld&) = delete;
    TerminationHeld& operator=(const TerminationHeld&) = delete;

  private:
    sigset_t previous_;
};

enum class Way : std::uint8_t {
    Replace,  // a new file takes the old one's place
    InPlace,  // the complete new content is copied over the old file
    Direct,   // a device or FIFO, written as the run goes
};

class PosixFileOutput final : public Output {
  public:
    explicit PosixFileOutput(std::shared_ptr<FileCalls> calls) : calls_(std::move(calls)) {}
    ~PosixFileOutput() override { abandon(); }

    IoStatus open(std::string_view path) override {
        if (path.empty())
            return IoStatus::failure(kNoFileName);
        if (path.find('\0') != std::string_view::npos)
            return IoStatus::failure(kNulInName);
        target_ = std::string(path);
        if (IoStatus resolved = resolve_links(target_); !resolved.ok())
            return resolved;
        struct stat info {};
        if (::stat(target_.c_str(), &info) != 0)
            return errno == ENOENT ? open_replacement(std::nullopt)
                                   : failure(SystemCall::Status, target_);
        if (S_ISDIR(info.st_mode))
            return IoStatus::failure(kIsAFolder);
        if (S_ISSOCK(info.st_mode))
            return IoStatus::failure(kSocket);
        if (!S_ISREG(info.st_mode))
            return open_directly();
        if ((info.st_mode & 0222) == 0 || (!writable(target_, W_OK) && errno == EACCES))
            return IoStatus::failure(kReadOnly);
        const std::string folder = directory_of(target_);
        if (!writable(folder, W_OK | X_OK) || is_mount_point(target_, folder))
            return open_in_place();
        return open_replacement(info);
    }

    IoStatus write(std::string_view bytes) override {
        const IoStatus written = write_all(fd_, bytes);
        if (written.ok())
            size_ += static_cast<long long>(bytes.size());
        return written;
    }

    IoStatus commit() override {
        switch (way_) {
            case Way::Direct:
                return close_file(fd_);
            case Way::InPlace:
                return copy_into_place();
            case Way::Replace:
                break;
        }
        return put_in_place();
    }

    void abandon() noexcept override {
        for (int* fd : {&fd_, &target_fd_}) {
            if (*fd >= 0)
                calls_->close(std::exchange(*fd, -1));
        }
        if (!temporary_.empty())
            retrying([&] { return calls_->remove(temporary_.c_str()); });
        temporary_.clear();
    }

    void set_wait_hook(WaitHook hook) override { wait_hook_ = std::move(hook); }

  private:
    // Partial writes go on from where they stopped; a write that takes nothing means the
    // device is full; a write that would wait waits in slices, asking the hook in between.
    IoStatus write_all(int fd, std::string_view bytes) {
        while (!bytes.empty()) {
            if (g_termination_signal != 0)
                return failure(SystemCall::Write, target_, EINTR);
            const long written = calls_->write(fd, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                if (!wait_until_writable(fd))
                    return IoStatus::cancelled();
                continue;
            }
            if (written < 0)
                return failure(SystemCall::Write, target_);
            if (written == 0)
                return failure(SystemCall::Write, target_, ENOSPC);
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return IoStatus::success();
    }

    bool wait_until_writable(int fd) {
        pollfd waiting{fd, POLLOUT, 0};
        ::poll(&waiting, 1, kWaitSliceMs);
        return !wait_hook_ || wait_hook_();
    }

    // Linux releases the descriptor even when close reports EINTR, so closing again could
    // close someone else's; the data was flushed before, so EINTR here is no failure.
    IoStatus close_file(int& fd) {
        if (calls_->close(std::exchange(fd, -1)) != 0 && errno != EINTR)
            return failure(SystemCall::Close, target_);
        return IoStatus::success();
    }

    IoStatus open_directly() {
        way_ = Way::Direct;
        fd_ = retrying([&] { return calls_->create(target_.c_str(), Creation::Existing, 0); });
        return fd_ < 0 ? failure(SystemCall::Create, target_) : IoStatus::success();
    }

    // A file in `folder` that has no name yet; where unnamed files are unknown, a hidden one.
    IoStatus create_unnamed(const std::string& folder, unsigned mode) {
        fd_ = retrying([&] { return calls_->create(folder.c_str(), Creation::Unnamed, mode); });
        if (fd_ >= 0)
            return IoStatus::success();
        if (!lacks_unnamed_files(errno))
            return failure(SystemCall::Create, folder);
        for (int attempt = 0; attempt < 16; ++attempt) {
            std::string name = random_name(folder);
            fd_ = retrying([&] { return calls_->create(name.c_str(), Creation::Exclusive, mode); });
            if (fd_ >= 0) {
                temporary_ = std::move(name);
                return IoStatus::success();
            }
            if (errno != EEXIST)
                return failure(SystemCall::Create, name);
        }
        return failure(SystemCall::Create, folder, EEXIST);
    }

    // The old file's owner and group are kept first, since a change of owner clears the
    // setuid and setgid bits; one that cannot be kept makes the run write in place.
    IoStatus open_replacement(const std::optional<struct stat>& old) {
        way_ = Way::Replace;
        if (IoStatus created = create_unnamed(directory_of(target_), 0666); !created.ok())
            return created;
        if (!old)
            return IoStatus::success();
        struct stat mine {};
        const bool same_owner =
            ::fstat(fd_, &mine) == 0 && mine.st_uid == old->st_uid && mine.st_gid == old->st_gid;
        if (!same_owner && calls_->set_owner(fd_, old->st_uid, old->st_gid) != 0) {
            const int error = errno;
            abandon();
            return error == EPERM ? open_in_place() : failure(SystemCall::SetOwner, target_, error);
        }
        if (retrying([&] { return calls_->set_mode(fd_, old->st_mode & 07777); }) != 0) {
            const int error = errno;
            abandon();
            return failure(SystemCall::SetMode, target_, error);
        }
        return IoStatus::success();
    }

    // The old file is opened now, so that a refusal comes before the run; the new content
    // gathers in an unnamed file of the temporary folder until the run is complete.
    IoStatus open_in_place() {
        way_ = Way::InPlace;
        target_fd_ =
            retrying([&] { return calls_->create(target_.c_str(), Creation::Existing, 0); });
        if (target_fd_ < 0)
            return failure(SystemCall::Create, target_);
        IoStatus staged = create_unnamed(staging_folder(), 0600);
        if (staged.ok() && !temporary_.empty()) {  // a named stand-in needs no name
            retrying([&] { return calls_->remove(temporary_.c_str()); });
            temporary_.clear();
        }
        return staged;
    }

    // The new file reaches the disk before it takes the old one's place, so that a power
    // cut leaves one or the other whole.
    IoStatus put_in_place() {
        if (retrying([&] { return calls_->flush(fd_); }) != 0)
            return failure(SystemCall::Flush, target_);
        if (g_termination_signal != 0)
            return failure(SystemCall::Replace, target_, EINTR);
        const TerminationHeld held;
        if (temporary_.empty()) {
            if (IoStatus named = give_temporary_name(); !named.ok())
                return named;
        }
        if (IoStatus closed = close_file(fd_); !closed.ok())
            return closed;
        if (retrying([&] { return calls_->replace(temporary_.c_str(), target_.c_str()); }) != 0)
            return failure(SystemCall::Replace, target_);
        temporary_.clear();
        // The rename is done; a directory that cannot be synced loses nothing already there.
        retrying([&] { return calls_->sync_directory(directory_of(target_).c_str()); });
        return IoStatus::success();
    }

    IoStatus give_temporary_name() {
        const std::string folder = directory_of(target_);
        for (int attempt = 0; attempt < 16; ++attempt) {
            std::string name = random_name(folder);
            if (retrying([&] { return calls_->link(fd_, name.c_str()); }) == 0) {
                temporary_ = std::move(name);
                return IoStatus::success();
            }
            if (errno != EEXIST)
                return failure(SystemCall::Name, name);
        }
        return failure(SystemCall::Name, folder, EEXIST);
    }

    // Space for the whole new content is taken before the first old byte is overwritten, so
    // that a full disk fails while the old file is still whole.
    IoStatus copy_into_place() {
        if (size_ > 0 && ::fallocate(target_fd_, 0, 0, size_) != 0 && errno != EOPNOTSUPP)
            return failure(SystemCall::Reserve, target_);
        std::vector<char> block(kCopyBlock);
        for (long long at = 0; at < size_;) {
            const ssize_t read = ::pread(fd_, block.data(), block.size(), at);
            if (read <= 0)
                return failure(SystemCall::ReadBack, staging_folder(), read < 0 ? errno : EIO);
            if (IoStatus written =
                    write_all(target_fd_, std::string_view(block.data(), std::size_t(read)));
                !written.ok())
                return written;
            at += read;
        }
        if (retrying([&] { return calls_->resize(target_fd_, size_); }) != 0)
            return failure(SystemCall::Resize, target_);
        if (retrying([&] { return calls_->flush(target_fd_); }) != 0)
            return failure(SystemCall::Flush, target_);
        if (IoStatus closed = close_file(target_fd_); !closed.ok())
            return closed;
        return close_file(fd_);
    }

    std::shared_ptr<FileCalls> calls_;
    WaitHook wait_hook_;
    Way way_ = Way::Replace;
    std::string target_;
    std::string temporary_;  // the new file's name while it has one of its own
    int fd_ = -1;            // where the run writes
    int target_fd_ = -1;     // the old file, when written in place
    long long size_ = 0;
};

void record_termination(int signal) {
    g_termination_signal = signal;
}

}  // namespace

int FileCalls::create(const char* path, Creation how, unsigned mode) {
    const auto permissions = static_cast<mode_t>(mode);
    switch (how) {
        case Creation::Unnamed:
            return ::open(path, O_TMPFILE | O_RDWR | O_CLOEXEC, permissions);
        case Creation::Exclusive:
            return ::open(path, O_RDWR | O_CLOEXEC | O_CREAT | O_EXCL, permissions);
        case Creation::Existing:
            break;
    }
    return ::open(path, O_WRONLY | O_CLOEXEC | O_NONBLOCK);
}
// A FIFO whose reader went away, or a file past the size limit, must not end the program:
// unless the program ignores them, SIGPIPE and SIGXFSZ are held back during the write, and
// any that the write raised (also by a partial write) is taken off before they are let in.
long FileCalls::write(int fd, const char* bytes, unsigned long size) {
    if (g_write_signals_ignored)
        return ::write(fd, bytes, size);
    sigset_t held;
    sigset_t previous;
    sigemptyset(&held);
    sigaddset(&held, SIGPIPE);
    sigaddset(&held, SIGXFSZ);
    pthread_sigmask(SIG_BLOCK, &held, &previous);
    const long written = ::write(fd, bytes, size);
    const int error = errno;
    sigset_t pending;
    sigpending(&pending);
    for (const int signal : {SIGPIPE, SIGXFSZ}) {
        if (sigismember(&pending, signal) && !sigismember(&previous, signal)) {
            sigset_t one;
            sigemptyset(&one);
            sigaddset(&one, signal);
            const timespec no_wait{};
            sigtimedwait(&one, nullptr, &no_wait);
        }
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    return written;
}
int FileCalls::flush(int fd) {
    return ::fsync(fd);
}
int FileCalls::close(int fd) {
    return ::close(fd);
}
// Through /proc, which needs no privilege; without /proc mounted, by the descriptor itself.
int FileCalls::link(int fd, const char* path) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path, AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno != ENOENT)
        return -1;
    return ::linkat(fd, "", AT_FDCWD, path, AT_EMPTY_PATH);
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
int FileCalls::set_owner(int fd, unsigned owner, unsigned group) {
    return ::fchown(fd, static_cast<uid_t>(owner), static_cast<gid_t>(group));
}
int FileCalls::resize(int fd, long long size) {
    return ::ftruncate(fd, static_cast<off_t>(size));
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

void prepare_process_for_files() {
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
    g_write_signals_ignored = true;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF)
            continue;
        const int stand_in = ::open("/dev/null", O_RDONLY);
        if (stand_in >= 0 && stand_in != fd) {
            ::dup2(stand_in, fd);
            ::close(stand_in);
        }
    }
}

void stop_writing_on_termination_signals() {
    struct sigaction action {};
    action.sa_handler = record_termination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: a read from a terminal must give up too
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

int termination_signal() noexcept {
    return g_termination_signal;
}

std::unique_ptr<Output> make_file_output(std::shared_ptr<FileCalls> calls) {
    if (!calls)
        calls = std::make_shared<FileCalls>();
    return std::make_unique<PosixFileOutput>(std::move(calls));
}

Platform system_platform() {
    return Platform{[] { return make_file_output(); }, append_windows_1252, system_file_exists,
                    read_system_file};
}

}  // namespace tavrix
