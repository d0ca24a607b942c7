#include <windows.h>

#include <climits>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "system/file_input.h"
#include "system/file_output.h"
#include "system/platform.h"
#include "system/text_win32.h"
#include "system/windows_codes.h"

namespace tavrix {
namespace {

// The codes that the words are made for, checked against the system's own.
namespace w = windows_code;
static_assert(w::kFileNotFound == ERROR_FILE_NOT_FOUND &&
              w::kPathNotFound == ERROR_PATH_NOT_FOUND &&
              w::kTooManyOpenFiles == ERROR_TOO_MANY_OPEN_FILES &&
              w::kAccessDenied == ERROR_ACCESS_DENIED && w::kInvalidDrive == ERROR_INVALID_DRIVE &&
              w::kWriteProtect == ERROR_WRITE_PROTECT && w::kNotReady == ERROR_NOT_READY &&
              w::kCrc == ERROR_CRC && w::kSharingViolation == ERROR_SHARING_VIOLATION &&
              w::kLockViolation == ERROR_LOCK_VIOLATION &&
              w::kHandleDiskFull == ERROR_HANDLE_DISK_FULL && w::kBadNetPath == ERROR_BAD_NETPATH &&
              w::kBadNetName == ERROR_BAD_NET_NAME && w::kFileExists == ERROR_FILE_EXISTS &&
              w::kDiskFull == ERROR_DISK_FULL && w::kInvalidName == ERROR_INVALID_NAME &&
              w::kBadPathname == ERROR_BAD_PATHNAME && w::kAlreadyExists == ERROR_ALREADY_EXISTS &&
              w::kFilenameExcedRange == ERROR_FILENAME_EXCED_RANGE &&
              w::kDirectory == ERROR_DIRECTORY && w::kIoDevice == ERROR_IO_DEVICE &&
              w::kUnableToRemoveReplaced == ERROR_UNABLE_TO_REMOVE_REPLACED &&
              w::kUnableToMoveReplacement == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
              w::kUnableToMoveReplacement2 == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 &&
              w::kUserMappedFile == ERROR_USER_MAPPED_FILE);

// Closes a file handle when it goes out of scope.
class Handle {
  public:
    Handle() = default;
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            close();
            handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { close(); }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Closes now, telling whether the system accepted it (buffered data may fail here).
    bool close() {
        if (!valid())
            return true;
        return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0;
    }

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

bool is_separator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// The folder part of a path, ready to have a file name appended: "c:\datos\" for
// "c:\datos\intro.def", "c:" for the drive-relative "c:intro.def", "" for "intro.def".
std::wstring folder_prefix(const std::wstring& path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (is_separator(path[i - 1]))
            return path.substr(0, i);
    }
    if (path.size() >= 2 && path[1] == L':')
        return path.substr(0, 2);
    return L"";
}

// ".tavrix-PID-RANDOM.tmp": the process number tells a later run whose file it is.
std::wstring temporary_name(const std::wstring& folder) {
    static std::mt19937 random{std::random_device{}() ^ GetCurrentProcessId() ^ GetTickCount()};
    static constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    std::wstring name = folder + L".tavrix-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (int i = 0; i < 10; ++i)
        name.push_back(kLetters[random() % (sizeof kLetters / sizeof kLetters[0] - 1)]);
    return name + L".tmp";
}

// The process number in a temporary file's name, or 0 when the name has none.
DWORD process_of(const std::wstring& name) {
    constexpr std::wstring_view kPrefix = L".tavrix-";
    if (name.rfind(kPrefix, 0) != 0)
        return 0;
    DWORD process = 0;
    std::size_t at = kPrefix.size();
    for (; at < name.size() && name[at] >= L'0' && name[at] <= L'9'; ++at)
        process = process * 10 + static_cast<DWORD>(name[at] - L'0');
    return at < name.size() && name[at] == L'-' ? process : 0;
}

bool is_running(DWORD process) {
    const HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, process);
    if (handle == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED;  // someone else's, still there
    const bool running = WaitForSingleObject(handle, 0) == WAIT_TIMEOUT;
    CloseHandle(handle);
    return running;
}

// A program that was ended in the middle of a run leaves its temporary file behind; the
// next run in that folder removes the ones whose process is gone.
void remove_stale_temporaries(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L".tavrix-*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const DWORD process = process_of(found.cFileName);
        if (process != 0 && process != GetCurrentProcessId() && !is_running(process))
            DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// What the call on `path` failed with, as the system said it.
IoStatus failure(SystemCall call, const std::wstring& path, DWORD code = GetLastError()) {
    return IoStatus::failure(SystemError{call, ErrorCodes::Windows, code, narrow(path)});
}

std::wstring full_path(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;  // the calls that follow report what is wrong with it
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return path;
    full.resize(length);
    return full;
}

enum class Target : std::uint8_t { Missing, File, Folder, Device };

// What stands at the (full) path now. Devices (NUL, COM1, a named pipe) are written in
// place; their full paths are all in the device namespace.
Target inspect(const std::wstring& path) {
    if (path.rfind(L"\\\\.\\", 0) == 0)
        return Target::Device;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Target::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Target::Folder : Target::File;
}

// Whether the file can be written and removed now: a read-only file, or one that another
// program holds open, fails here, before anything is written, rather than at the end.
bool replaceable(const std::wstring& path) {
    const Handle probe(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return probe.valid();
}

class Win32FileOutput final : public Output {
  public:
    ~Win32FileOutput() override { abandon(); }

    IoStatus open(std::string_view path) override {
        if (path.empty())
            return IoStatus::failure(kNoFileName);
        if (path.find('\0') != std::string_view::npos)
            return IoStatus::failure(kNulInName);
        std::optional<std::wstring> wide = widen_exact(path);
        if (!wide) {
            return IoStatus::failure(SystemError{SystemCall::Create, ErrorCodes::Windows,
                                                 ERROR_INVALID_NAME, std::string(path)});
        }
        // Made absolute once, so that the temporary file and the replacing call see the
        // same folder whatever the current directory does meanwhile.
        target_ = full_path(*wide);
        switch (inspect(target_)) {
            case Target::Folder:
                return IoStatus::failure(kIsAFolder);
            case Target::Device:
                return open_directly();
            case Target::File:
                if (!replaceable(target_))
                    return failure(SystemCall::Create, target_);
                break;
            case Target::Missing:
                break;
        }
        return open_temporary();
    }

    IoStatus write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            if (!WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr))
                return failure(SystemCall::Write, target_);
            if (written == 0)
                return failure(SystemCall::Write, target_, ERROR_DISK_FULL);
            bytes.remove_prefix(written);
        }
        return IoStatus::success();
    }

    IoStatus commit() override {
        if (temporary_.empty()) {  // a device, written in place
            if (!file_.close())
                return failure(SystemCall::Close, target_);
            return IoStatus::success();
        }
        if (!FlushFileBuffers(file_.get()))
            return failure(SystemCall::Flush, target_);
        if (!file_.close())
            return failure(SystemCall::Close, target_);
        if (!put_in_place())
            return failure(SystemCall::Replace, target_);
        temporary_.clear();
        return IoStatus::success();
    }

    void abandon() noexcept override {
        file_.close();
        if (!temporary_.empty())
            DeleteFileW(temporary_.c_str());
        temporary_.clear();
    }

  private:
    IoStatus open_directly() {
        file_ = Handle(CreateFileW(target_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return file_.valid() ? IoStatus::success() : failure(SystemCall::Create, target_);
    }

    IoStatus open_temporary() {
        const std::wstring folder = folder_prefix(target_);
        remove_stale_temporaries(folder);
        for (int attempt = 0; attempt < 16; ++attempt) {
            std::wstring name = temporary_name(folder);
            file_ = Handle(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_TEMPORARY, nullptr));
            if (file_.valid()) {
                temporary_ = std::move(name);
                return IoStatus::success();
            }
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
                return failure(SystemCall::Create, name, error);
        }
        return failure(SystemCall::Create, folder, ERROR_FILE_EXISTS);
    }

    // The complete file takes the old one's place. ReplaceFileW keeps the old file's
    // attributes and security; a missing file has none to keep, so a move is enough.
    bool put_in_place() {
        if (GetFileAttributesW(target_.c_str()) != INVALID_FILE_ATTRIBUTES) {
            if (ReplaceFileW(target_.c_str(), temporary_.c_str(), nullptr,
                             REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
                return true;
            if (GetLastError() != ERROR_FILE_NOT_FOUND)
                return false;  // ERROR_FILE_NOT_FOUND: the old file went away meanwhile
        }
        return MoveFileExW(temporary_.c_str(), target_.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }

    std::wstring target_;
    std::wstring temporary_;  // empty when writing in place
    Handle file_;
};

}  // namespace

// Windows raises no signal for a pipe or a size limit, and the console's Ctrl+C ends the
// script as before: what a run leaves is removed by the next one.
void prepare_process_for_files() {}
void stop_writing_on_termination_signals() {}
int termination_signal() noexcept {
    return 0;
}

std::unique_ptr<Output> make_file_output() {
    return std::make_unique<Win32FileOutput>();
}

Platform system_platform() {
    return Platform{[] { return make_file_output(); }, append_active_code_page, system_file_exists,
                    read_system_file};
}

}  // namespace tavrix
