#include "script/runner.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <functional>
#include <new>
#include <string>
#include <variant>
#include <vector>

#include "app/preview.h"
#include "common/encoding.h"
#include "script/dump.h"
#include "script/properties.h"
#include "script/reader.h"
#include "stage/archive_sprites.h"
#include "storyboard/messages.h"
#include "system/file_output.h"

namespace tavrix::script {
namespace {

// A line's outcome: carried on, stopped with a status, or a "Generar!" that failed; and
// the warnings of a check, which change nothing.
struct LineOutcome {
    int status = kOk;
    std::string message;
    std::vector<std::string> warnings = {};
};

LineOutcome script_error(std::string message) {
    return {kScriptError, std::move(message)};
}

std::string quoted(std::string_view text) {
    return quoted_for_message(text);
}

std::string standard_output_failure(int error) {
    return "no se pudo escribir en la salida estándar: " +
           system_error_words(errno_error(SystemCall::WriteStandardOutput, error, {}));
}

// Decimal digits alone: a tick of the scene.
std::optional<std::int64_t> tick_number(std::string_view text) {
    std::int64_t tick = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), tick);
    if (text.empty() || text.front() == '-' || error != std::errc() ||
        end != text.data() + text.size())
        return std::nullopt;
    return tick;
}

std::variant<ControlId, LineOutcome> control_named(std::string_view name) {
    if (const auto id = find_control(name))
        return *id;
    return script_error("no hay ningún control llamado " + quoted(name));
}

class ScriptRun {
  public:
    ScriptRun(std::ostream& out, Platform platform, const ScriptOptions& options)
        : out_(out),
          open_output_(platform.open_output),
          form_(platform),
          preview_(form_, archive_sprites_opener(platform.file_exists)) {
        form_.set_frame_limit(options.max_frames);
    }

    LineOutcome perform(const Tokens& tokens) {
        const std::string& action = tokens[0];
        if (action == "set")
            return with_arguments(tokens, 3, &ScriptRun::set);
        if (action == "click")
            return with_arguments(tokens, 2, &ScriptRun::click);
        if (action == "expect")
            return with_arguments(tokens, 4, &ScriptRun::expect);
        if (action == "dump")
            return with_arguments(tokens, 1, &ScriptRun::dump);
        if (action == "option")
            return with_arguments(tokens, 3, &ScriptRun::option);
        if (action == "check")
            return with_arguments(tokens, 1, &ScriptRun::check);
        if (action == "save")
            return with_arguments(tokens, 2, &ScriptRun::save);
        if (action == "open")
            return with_arguments(tokens, 2, &ScriptRun::open);
        if (action == "preview")
            return with_arguments(tokens, 3, &ScriptRun::preview);
        if (action == "export")
            return with_arguments(tokens, 2, &ScriptRun::export_storyboard);
        if (action == "import")
            return with_arguments(tokens, 2, &ScriptRun::import_storyboard);
        return script_error("acción desconocida " + quoted(action) +
                            " (se admiten set, click, expect, dump, option, check, save, open, "
                            "preview, export e import)");
    }

  private:
    using Action = LineOutcome (ScriptRun::*)(const Tokens&);

    LineOutcome with_arguments(const Tokens& tokens, std::size_t count, Action action) {
        if (tokens.size() != count) {
            return script_error(quoted(tokens[0]) + " lleva " + std::to_string(count - 1) +
                                " argumento(s) y se dieron " + std::to_string(tokens.size() - 1));
        }
        return (this->*action)(tokens);
    }

    LineOutcome refused(ControlId id, ActionStatus status) {
        return script_error(quoted(control_def(id).name) + " " + std::string(describe(status)));
    }

    LineOutcome set(const Tokens& tokens) {
        auto named = control_named(tokens[1]);
        if (auto* outcome = std::get_if<LineOutcome>(&named))
            return *outcome;
        const ControlId id = std::get<ControlId>(named);
        if (const ActionStatus status = form_.type_text(id, tokens[2]);
            status != ActionStatus::Done)
            return refused(id, status);
        return {};
    }

    LineOutcome click(const Tokens& tokens) {
        auto named = control_named(tokens[1]);
        if (auto* outcome = std::get_if<LineOutcome>(&named))
            return *outcome;
        const ControlId id = std::get<ControlId>(named);
        if (const ActionStatus status = form_.click(id); status != ActionStatus::Done)
            return refused(id, status);
        if (id != kGenerateButton)
            return {};
        return run_outcome(*form_.last_run());
    }

    LineOutcome export_storyboard(const Tokens& tokens) {
        return run_outcome(form_.export_storyboard(tokens[1]));
    }

    // Each thing of the file that the window could not take is a warning.
    LineOutcome import_storyboard(const Tokens& tokens) {
        auto imported = form_.import_storyboard(tokens[1]);
        if (!imported.ok())
            return {kGenerateFailed, std::move(imported.error())};
        LineOutcome outcome;
        for (std::string& line : imported.value())
            outcome.warnings.push_back("aviso: " + std::move(line));
        return outcome;
    }

    // A written storyboard: what the code page could not hold is a warning; a failure is
    // reported and the script goes on.
    static LineOutcome run_outcome(const RunResult& run) {
        if (run.ok()) {
            if (std::string warning = replacement_warning(run.value()); !warning.empty())
                return {kOk, {}, {"aviso: " + std::move(warning)}};
            return {};
        }
        if (run.error().cause == FailureCause::TooManyFrames)
            return {kGenerateFailed, run.error().message + " Se cambia con --max-frames."};
        return {kGenerateFailed, run.error().message};
    }

    LineOutcome expect(const Tokens& tokens) {
        auto named = control_named(tokens[1]);
        if (auto* outcome = std::get_if<LineOutcome>(&named))
            return *outcome;
        const ControlDef& def = control_def(std::get<ControlId>(named));
        const std::string& name = tokens[2];
        const std::string& expected = tokens[3];
        const std::optional<Property> property = find_property(name);
        if (!property) {
            return script_error("propiedad desconocida " + quoted(name) + " (se admiten " +
                                property_names() + ")");
        }
        const std::optional<std::string> found = read_property(form_.window(), def, *property);
        if (!found) {
            return script_error("un control de tipo " + std::string(kind_name(def.kind)) +
                                " no tiene la propiedad " + quoted(name));
        }
        // A value the property can never take ("value 2") is an expectation that does not hold.
        if (*found == expected)
            return {};
        return {kExpectFailed, "se esperaba " + std::string(def.name) + "." + name + " = " +
                                   quoted(expected) + " y se encontró " + quoted(*found)};
    }

    LineOutcome dump(const Tokens&) {
        errno = 0;
        out_ << dump_json(form_) << '\n';
        out_.flush();
        if (!out_)
            return script_error(standard_output_failure(errno));
        return {};
    }

    // The session options, each as its check item in the "Herramientas" menu.
    LineOutcome option(const Tokens& tokens) {
        const std::string& name = tokens[1];
        const std::string& word = tokens[2];
        if (name != kEngineReadyOption)
            return script_error("opción desconocida " + quoted(name) + " (se admite " +
                                std::string(kEngineReadyOption) + ")");
        if (word != "on" && word != "off")
            return script_error("una opción se pone on u off, no " + quoted(word));
        form_.set_engine_ready(word == "on");
        return {};
    }

    LineOutcome check(const Tokens&) {
        LineOutcome outcome;
        for (std::string& finding : form_.check())
            outcome.warnings.push_back("aviso: " + std::move(finding));
        return outcome;
    }

    LineOutcome save(const Tokens& tokens) { return file_outcome(form_.save_session(tokens[1])); }
    LineOutcome open(const Tokens& tokens) { return file_outcome(form_.open_session(tokens[1])); }

    // The stage at a tick as a PNG file; the reasons a sprite is a placeholder, and why the
    // layer or the background plays nothing, are warnings.
    LineOutcome preview(const Tokens& tokens) {
        const std::optional<std::int64_t> tick = tick_number(tokens[1]);
        if (!tick) {
            return script_error("el tic " + quoted(tokens[1]) +
                                " no es un número entero de 0 en adelante");
        }
        const std::unique_ptr<Output> output = open_output_();
        Expected<PreviewStatus, std::string> saved = preview_.save_png(*tick, tokens[2], *output);
        if (!saved.ok())
            return {kGenerateFailed, std::move(saved.error())};
        LineOutcome outcome;
        for (const std::string& note : preview_.plan().notes)
            outcome.warnings.push_back("aviso: " + note);
        if (const PreviewStatus& status = saved.value(); !status.placeholder.empty())
            outcome.warnings.push_back("aviso: " + status.placeholder);
        return outcome;
    }

    // A session file that cannot be saved or opened is reported like a failed "Generar!".
    static LineOutcome file_outcome(const Status<SessionFailure>& status) {
        if (!status.ok())
            return {kGenerateFailed, status.error().message};
        return {};
    }

    std::ostream& out_;
    OutputFactory open_output_;
    Form1 form_;
    Preview preview_;
};

// A message stays on its one line of standard error, whatever a field it quotes holds, and
// shows control characters instead of passing them to the terminal.
std::string one_line(std::string_view message) {
    return escaped_for_message(message);
}

// Editors that save "UTF-8 with signature" put these bytes before the first line.
void drop_byte_order_mark(std::string_view& line) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (line.starts_with(kMark))
        line.remove_prefix(kMark.size());
}

// A long line is let go once read into tokens, so that a huge value is held once less.
constexpr std::size_t kKeptLineCapacity = 64 * 1024;

// The script's lines one at a time, without their LF: from a text read whole, or from a
// stream as they arrive (standard input), whose line is copied out and let go once read.
class ScriptLines {
  public:
    explicit ScriptLines(std::string_view text) : text_(text) {}
    explicit ScriptLines(std::istream& in) : in_(&in) {}

    // False at the end.
    bool next(std::string_view& line) {
        if (in_ != nullptr) {
            if (!std::getline(*in_, buffer_))
                return false;
            line = buffer_;
            return true;
        }
        if (text_.empty())
            return false;
        const std::size_t end = text_.find('\n');
        line = text_.substr(0, end);
        text_ = end == std::string_view::npos ? std::string_view() : text_.substr(end + 1);
        return true;
    }

    // The memory of a long streamed line; the line given last is no longer to be read.
    void let_go() {
        if (buffer_.capacity() > kKeptLineCapacity)
            std::string().swap(buffer_);
    }

    [[nodiscard]] bool failed() const { return in_ != nullptr && in_->bad(); }

  private:
    std::string_view text_;
    std::istream* in_ = nullptr;
    std::string buffer_;
};

LineOutcome perform_line(ScriptRun& run, ScriptLines& lines, std::string_view line) {
    const auto read = read_line(line);
    lines.let_go();
    if (const auto* error = std::get_if<ReadError>(&read))
        return script_error(error->message);
    if (const Tokens& tokens = std::get<Tokens>(read); !tokens.empty())
        return run.perform(tokens);
    return {};
}

const char* signal_name(int signal) {
    if (signal == SIGINT)
        return "SIGINT";
    if (signal == SIGTERM)
        return "SIGTERM";
    return "SIGHUP";
}

int finish(std::ostream& out, int status) {
    out.flush();
    return status;
}

using Reporter = std::function<void(const std::string&)>;

int perform_lines(ScriptLines& lines, ScriptRun& run, long& number, const Reporter& report,
                  std::ostream& out) {
    bool generate_failed = false;
    for (std::string_view line; lines.next(line); ++number) {
        if (number == 1)
            drop_byte_order_mark(line);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        const LineOutcome outcome = perform_line(run, lines, line);
        for (const std::string& warning : outcome.warnings)
            report(warning);
        if (outcome.status != kOk)
            report(outcome.message);
        if (outcome.status == kGenerateFailed)
            generate_failed = true;
        else if (outcome.status != kOk)
            return finish(out, outcome.status);
        if (termination_signal() != 0)
            break;
    }
    // A signal also cuts short a read of the script, which then looks like its end.
    if (const int signal = termination_signal()) {
        report(std::string("se detuvo por la señal ") + signal_name(signal));
        return finish(out, 128 + signal);
    }
    if (lines.failed()) {
        report("no se pudo leer el guion");
        return finish(out, kScriptError);
    }
    return finish(out, generate_failed ? kGenerateFailed : kOk);
}

int run_lines(ScriptLines& lines, std::string_view script_name, std::ostream& out,
              std::ostream& err, Platform platform, const ScriptOptions& options) {
    ScriptRun run(out, std::move(platform), options);
    long number = 1;
    const Reporter report = [&](const std::string& message) {
        err << script_name << ':' << number << ": " << one_line(message) << '\n';
    };
    // Out of memory, the line is refused as a whole; what it had changed stays changed, so
    // the script stops there.
    try {
        return perform_lines(lines, run, number, report, out);
    } catch (const std::bad_alloc&) {
        report("no queda memoria para esta línea");
        return finish(out, kScriptError);
    }
}

}  // namespace

int run_script(std::string_view text, std::string_view script_name, std::ostream& out,
               std::ostream& err, Platform platform, const ScriptOptions& options) {
    ScriptLines lines(text);
    return run_lines(lines, script_name, out, err, std::move(platform), options);
}

int run_script(std::istream& in, std::string_view script_name, std::ostream& out, std::ostream& err,
               Platform platform, const ScriptOptions& options) {
    ScriptLines lines(in);
    return run_lines(lines, script_name, out, err, std::move(platform), options);
}

}  // namespace tavrix::script
