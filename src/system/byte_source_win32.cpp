#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "system/byte_source.h"
#include "system/text_win32.h"

namespace tavrix {
namespace {

class FileSource final : public ByteSource {
  public:
    FileSource(HANDLE file, std::uint64_t size) : file_(file), size_(size) {}
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    ~FileSource() override { CloseHandle(file_); }

    std::uint64_t size() const noexcept override { return size_; }

    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        if (!range_fits(offset, into.size(), size_))
            return false;
        while (!into.empty()) {
            OVERLAPPED at{};
            at.Offset = static_cast<DWORD>(offset);
            at.OffsetHigh = static_cast<DWORD>(offset >> 32);
            const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(into.size(), 1u << 30));
            DWORD got = 0;
            if (!ReadFile(file_, into.data(), wanted, &got, &at) || got == 0)
                return false;  // a failure, or a file that became shorter
            into = into.subspan(got);
            offset += got;
        }
        return true;
    }

  private:
    HANDLE file_;
    std::uint64_t size_;
};

FileOpenFailure failure(std::string_view path, DWORD code) {
    return FileOpenFailure::of(
        code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND,
        SystemError{SystemCall::OpenForReading, ErrorCodes::Windows, code, std::string(path)});
}

}  // namespace

Expected<std::unique_ptr<ByteSource>, FileOpenFailure> open_file_source(std::string_view path) {
    if (path.empty())
        return FileOpenFailure{true, kNoFileName};
    const std::optional<std::wstring> wide = widen_exact(path);
    if (!wide)
        return failure(path, ERROR_INVALID_NAME);
    const DWORD attributes = GetFileAttributesW(wide->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileOpenFailure{false, kIsAFolder};
    HANDLE file = CreateFileW(wide->c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return failure(path, GetLastError());
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        return FileOpenFailure{false, kNotARegularFile};
    }
    return std::unique_ptr<ByteSource>(
        std::make_unique<FileSource>(file, static_cast<std::uint64_t>(size.QuadPart)));
}

}  // namespace tavrix
