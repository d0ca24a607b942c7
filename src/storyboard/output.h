// Where a "Generar!" run puts its bytes. A run opens the output, writes it in large blocks,
// and then either commits it (the complete file takes the place of any earlier one) or
// abandons it (the path is left exactly as it was before the run).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "common/expected.h"

namespace tavrix {

// Success, a failure with its reason in Spanish ("la carpeta no existe"), or a run that the
// person cancelled while a write waited.
class [[nodiscard]] IoStatus {
  public:
    static IoStatus success() { return IoStatus(); }
    static IoStatus failure(std::string reason) { return IoStatus(std::move(reason)); }
    static IoStatus cancelled() {
        IoStatus status(std::string{});
        status.cancelled_ = true;
        return status;
    }

    bool ok() const { return ok_; }
    bool was_cancelled() const { return cancelled_; }
    const std::string& reason() const { return reason_; }

  private:
    IoStatus() = default;
    explicit IoStatus(std::string reason) : ok_(false), reason_(std::move(reason)) {}

    bool ok_ = true;
    bool cancelled_ = false;
    std::string reason_;
};

// Asked again and again while a write waits for a slow reader; false cancels the run.
using WaitHook = std::function<bool()>;

class Output {
  public:
    virtual ~Output() = default;
    virtual IoStatus open(std::string_view path) = 0;
    virtual IoStatus write(std::string_view bytes) = 0;
    virtual IoStatus commit() = 0;
    virtual void abandon() noexcept = 0;
    // Outputs whose writes never wait need no hook.
    virtual void set_wait_hook(WaitHook) {}
};

using OutputFactory = std::function<std::unique_ptr<Output>()>;

// Turns a UTF-8 field text into the file's 8-bit code page, appending to `out`.
using Encoder = void (*)(std::string_view utf8, std::string& out);

// Whether a file is at a path; "Comprobar" asks it about the files a storyboard names.
using FileExists = std::function<bool(std::string_view path)>;

// Why a file cannot be read, in Spanish ("el archivo no existe").
struct ReadFailure {
    std::string reason;
};
using FileContents = Expected<std::string, ReadFailure>;

// Reads a whole file back, as opening a session does. A file larger than `limit` gives only
// `limit + 1` bytes, enough to refuse it.
using FileReader = std::function<FileContents(std::string_view path, std::size_t limit)>;

// What the window needs of the system it runs on: where files go, in which code page, and
// how files are found and read back.
struct Platform {
    OutputFactory open_output;
    Encoder encode;
    FileExists file_exists = nullptr;  // empty: the check does not ask
    FileReader read_file = nullptr;    // empty: no session can be opened
};

}  // namespace tavrix
