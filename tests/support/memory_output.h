// An Output that keeps the storyboard in memory, and a Form1 that writes into it, so that
// tests can read the file a run wrote without touching the disk.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/form1.h"
#include "common/encoding.h"
#include "storyboard/output.h"

namespace tavrix::testing {

// What a run left at the path: the committed bytes, or what was there before.
struct MemoryFile {
    std::string committed;
    bool exists = false;
    std::string path;  // as the run opened it
    int opens = 0;
    std::string fail_open;  // non-empty: open fails with this reason
};

class MemoryOutput final : public Output {
  public:
    explicit MemoryOutput(std::shared_ptr<MemoryFile> file) : file_(std::move(file)) {}

    IoStatus open(std::string_view path) override {
        ++file_->opens;
        file_->path = std::string(path);
        if (!file_->fail_open.empty())
            return IoStatus::failure(file_->fail_open);
        return IoStatus::success();
    }
    IoStatus write(std::string_view bytes) override {
        pending_.append(bytes);
        return IoStatus::success();
    }
    IoStatus commit() override {
        file_->committed = std::move(pending_);
        file_->exists = true;
        return IoStatus::success();
    }
    void abandon() noexcept override { pending_.clear(); }

  private:
    std::shared_ptr<MemoryFile> file_;
    std::string pending_;
};

struct MemoryForm {
    std::shared_ptr<MemoryFile> file = std::make_shared<MemoryFile>();
    Form1 form{
        Platform{[f = file] { return std::make_unique<MemoryOutput>(f); }, append_windows_1252}};

    // A person's edit or click that must be accepted.
    void type(ControlId id, std::string_view text);
    void click(ControlId id);
    const std::string& text(ControlId id) const { return form.window().text(id); }
    const std::string& caption(ControlId id) const { return form.window().caption(id); }
    int value(ControlId id) const { return form.window().value(id); }

    // Presses "Generar!" and returns the file's lines without their CR LF ends.
    std::vector<std::string> generate();
};

std::vector<std::string> split_crlf_lines(std::string_view bytes);

// The failure of the latest "Generar!"; nothing when it succeeded or never ran.
inline std::optional<RunFailure> run_failure(const Form1& form) {
    const std::optional<RunResult>& run = form.last_run();
    return run && !run->ok() ? std::optional<RunFailure>(run->error()) : std::nullopt;
}

}  // namespace tavrix::testing

namespace tavrix::testing {

// An element as tests compare it: "null", a text in quotes, or "#" and a whole number.
std::string element_repr(const Element& element);
std::string stored(const Form1& form, TableId table, Position at = {});
// Every element of the store, for before-and-after comparisons.
std::vector<std::string> store_snapshot(const Form1& form);

}  // namespace tavrix::testing
