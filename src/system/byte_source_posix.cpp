#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "system/byte_source.h"
#include "system/file_input.h"

namespace tavrix {
namespace {

class FileSource final : public ByteSource {
  public:
    FileSource(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    ~FileSource() override { ::close(fd_); }

    std::uint64_t size() const noexcept override { return size_; }

    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        if (!range_fits(offset, into.size(), size_))
            return false;
        while (!into.empty()) {
            const ssize_t got = ::pread(fd_, into.data(), into.size(), static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;  // a failure, or a file that became shorter
            into = into.subspan(static_cast<std::size_t>(got));
            offset += static_cast<std::uint64_t>(got);
        }
        return true;
    }

  private:
    int fd_;
    std::uint64_t size_;
};

FileOpenFailure failure(SystemCall call, std::string_view path, int error) {
    return FileOpenFailure::of(error == ENOENT, errno_error(call, error, std::string(path)));
}

}  // namespace

Expected<std::unique_ptr<ByteSource>, FileOpenFailure> open_file_source(std::string_view path) {
    if (path.empty())
        return FileOpenFailure{true, kNoFileName};
    const int fd = open_for_reading(std::string(path));
    if (fd < 0)
        return failure(SystemCall::OpenForReading, path, errno);
    struct stat info {};
    const int error = ::fstat(fd, &info) != 0 ? errno : S_ISREG(info.st_mode) ? 0 : -1;
    if (error != 0) {
        ::close(fd);
        if (error > 0)
            return failure(SystemCall::ReadStatus, path, error);
        return FileOpenFailure{false, S_ISDIR(info.st_mode) ? kIsAFolder : kNotARegularFile};
    }
    return std::unique_ptr<ByteSource>(
        std::make_unique<FileSource>(fd, static_cast<std::uint64_t>(info.st_size)));
}

}  // namespace tavrix
