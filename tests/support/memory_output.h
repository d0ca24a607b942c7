// A Form1 that writes into a file in memory, so that tests can read the file a run wrote
// without touching the disk.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "../../fuzz/memory_output.h"  // the one memory output, shared with the fuzz targets
#include "app/form1.h"
#include "common/encoding.h"

namespace tavrix::testing {

using fuzz::MemoryFile;
using fuzz::MemoryOutput;

// Every file goes to `file`, whatever its path, and is read back from there.
inline Platform memory_platform(std::shared_ptr<MemoryFile> file) {
    return Platform{
        [file] { return std::make_unique<MemoryOutput>(file); }, append_windows_1252, nullptr,
        [file](std::string_view, std::size_t) -> FileContents { return file->committed; }};
}

struct MemoryForm {
    std::shared_ptr<MemoryFile> file = std::make_shared<MemoryFile>();
    Form1 form{memory_platform(file)};

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
