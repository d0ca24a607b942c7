// Where a file's bytes go: a storyboard that "Generar!" writes, a session that is saved. The
// writer opens the output, writes it in large blocks, and then either commits it (the
// complete file takes the place of any earlier one) or abandons it (the path is left exactly
// as it was before).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "system/system_error.h"

namespace tavrix {

// Success, a failure with its reason in Spanish ("la carpeta no existe") and, when a system
// call refused, what it was, or a run that the person cancelled while a write waited.
class [[nodiscard]] IoStatus {
  public:
    static IoStatus success() { return IoStatus(); }
    static IoStatus failure(std::string reason) { return IoStatus(std::move(reason)); }
    static IoStatus failure(SystemError error) {
        IoStatus status(system_error_words(error));
        status.system_error_ = std::move(error);
        return status;
    }
    static IoStatus cancelled() {
        IoStatus status(std::string{});
        status.cancelled_ = true;
        return status;
    }

    bool ok() const { return ok_; }
    bool was_cancelled() const { return cancelled_; }
    const std::string& reason() const { return reason_; }
    // None for a success, a cancelled run or one of the file layer's own refusals.
    const std::optional<SystemError>& system_error() const { return system_error_; }

  private:
    IoStatus() = default;
    explicit IoStatus(std::string reason) : ok_(false), reason_(std::move(reason)) {}

    bool ok_ = true;
    bool cancelled_ = false;
    std::string reason_;
    std::optional<SystemError> system_error_;
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

// Opens, writes all of `bytes` and commits; on a failure the output is abandoned.
IoStatus write_whole(Output& output, std::string_view path, std::string_view bytes);

// Turns a UTF-8 field text into the file's 8-bit code page, appending to `out`.
using Encoder = void (*)(std::string_view utf8, std::string& out);

}  // namespace tavrix
