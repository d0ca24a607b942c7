// Arbitrary bytes as a storyboard file for "Importar storyboard...": the window never crashes;
// a refused file changes nothing; a taken one keeps "Nombre del archivo:" and the options,
// shows scene 0, animation 0, and each line of what it did not take names where it stands,
// in file order. The file that "Generar storyboard completo" then writes comes back byte for
// byte: imported and exported again, it gives the same bytes.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/form1.h"
#include "common/encoding.h"
#include "fuzz_check.h"
#include "memory_output.h"

namespace tavrix {
namespace {

using fuzz::require;

constexpr std::size_t kOutputBudget = 1 << 20;  // a larger export ends as a full disk would
constexpr std::uint64_t kFrameLimit = 20'000;

// A number at the front of `text`, taken off it; none when it does not start with a digit.
bool take_number(std::string_view& text, std::size_t& number) {
    std::size_t digits = 0;
    number = 0;
    for (; digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits)
        number = number * 10 + static_cast<std::size_t>(text[digits] - '0');
    text.remove_prefix(digits);
    return digits > 0 && digits < 10;
}

bool take(std::string_view& text, std::string_view word) {
    if (!text.starts_with(word))
        return false;
    text.remove_prefix(word.size());
    return true;
}

// "Escena N, ", "[section], " or nothing, then "línea N: "; or, for a scene that the count
// cannot reach, "Escena N: «". Gives the line, 0 for none.
std::size_t where_of(std::string_view note) {
    std::size_t number = 0;
    std::string_view rest = note;
    if (take(rest, "Escena ")) {
        require(take_number(rest, number) && number < 10, "a note names a scene 0 to 9", note);
        if (take(rest, ": «"))
            return 0;
        require(take(rest, ", "), "a scene's note goes on with its line", note);
    } else if (take(rest, "[")) {
        const std::size_t close = rest.find(']');
        require(close != rest.npos, "a section's note closes its name", note);
        rest.remove_prefix(close + 1);
        require(take(rest, ", "), "a section's note goes on with its line", note);
    }
    require(take(rest, "línea ") && take_number(rest, number) && number > 0 && take(rest, ": "),
            "a note gives its line", note);
    return number;
}

void check_notes(const std::vector<std::string>& notes, std::string_view bytes) {
    const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    std::size_t last = 0;
    bool unreachable = false;
    for (const std::string& note : notes) {
        require(is_valid_utf8(note), "a note is UTF-8", note);
        const std::size_t line = where_of(note);
        require(line <= lines, "a note's line is in the file", note);
        // The scenes that the count cannot reach come last.
        require(line == 0 || (line >= last && !unreachable), "the notes come in file order", note);
        unreachable = unreachable || line == 0;
        last = std::max(last, line);
    }
}

struct MemoryWindow {
    std::shared_ptr<fuzz::MemoryFile> file = std::make_shared<fuzz::MemoryFile>();
    Form1 form{Platform{
        fuzz::memory_output_factory(file, kOutputBudget), append_windows_1252, nullptr,
        [file = file](std::string_view, std::size_t) -> FileContents { return file->committed; }}};
    MemoryWindow() { form.set_frame_limit(kFrameLimit); }

    // The file "Generar storyboard completo" writes; none when it refuses.
    std::optional<std::string> exported() {
        if (!form.export_storyboard("todo.def").ok())
            return std::nullopt;
        return file->committed;
    }
};

}  // namespace
}  // namespace tavrix

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavrix;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    MemoryWindow window;
    (void)window.form.type_text(ControlId::Text11, "otro.def");
    (void)window.form.type_text(ControlId::Text3, "7");
    window.form.set_engine_ready(size % 2 == 1);
    const Session before = window.form.snapshot();
    window.file->committed = bytes;
    const auto imported = window.form.import_storyboard("entrada.def");
    if (!imported.ok()) {
        require(imported.error().starts_with("No se pudo importar \"entrada.def\": "),
                "a refusal says what failed", imported.error());
        require(window.form.holds(before), "a refused file changes nothing", imported.error());
        return 0;
    }
    check_notes(imported.value(), bytes);
    const tavrix::Window& shown = window.form.window();
    require(shown.text(ControlId::Text11) == "otro.def" &&
                window.form.engine_ready() == before.options.engine_ready,
            "an import keeps the file name and the options");
    require(shown.caption(ControlId::Escena) == "0" && shown.caption(ControlId::nroAnim) == "0",
            "an import shows scene 0, animation 0");
    const std::optional<std::string> first = window.exported();
    if (!first)
        return 0;
    MemoryWindow again;
    again.file->committed = *first;
    const auto reimported = again.form.import_storyboard("todo.def");
    require(reimported.ok(), "an exported file imports", reimported.ok() ? "" : reimported.error());
    const std::optional<std::string> second = again.exported();
    require(second == first, "an exported file comes back byte for byte", *first);
    return 0;
}
