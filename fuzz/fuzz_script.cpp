// Arbitrary bytes as a tavrix-script script: the runner never crashes or hangs, every
// message on standard error names the script and the line it belongs to, and the exit
// status agrees with the messages.
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "common/encoding.h"
#include "fuzz_check.h"
#include "memory_output.h"
#include "script/runner.h"

namespace {

using tavrix::fuzz::require;
namespace script = tavrix::script;

constexpr std::size_t kOutputBudget = 256 * 1024;

long count_lines(std::string_view text) {
    long lines = 0;
    for (std::size_t start = 0; start < text.size(); ++lines) {
        const std::size_t end = text.find('\n', start);
        start = end == std::string_view::npos ? text.size() : end + 1;
    }
    return lines;
}

// The line number after "-:", or nothing when the message does not start that way.
std::optional<long> message_line(std::string_view message) {
    if (message.substr(0, 2) != "-:")
        return std::nullopt;
    long number = 0;
    std::size_t pos = 2;
    while (pos < message.size() && message[pos] >= '0' && message[pos] <= '9' && pos < 14)
        number = number * 10 + (message[pos++] - '0');
    if (pos == 2 || message.substr(pos, 2) != ": ")
        return std::nullopt;
    return number;
}

// A warning names its line and then says "aviso: "; a failure's message may quote those
// words anywhere else.
bool is_warning(std::string_view message) {
    const std::size_t after_line = message.find(": ");
    return message.starts_with("-:") && after_line != std::string_view::npos &&
           message.substr(after_line + 2).starts_with("aviso: ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream in(bytes);
    std::ostringstream out;
    std::ostringstream err;
    const tavrix::Platform platform{
        tavrix::fuzz::memory_output_factory(std::make_shared<tavrix::fuzz::MemoryFile>(),
                                            kOutputBudget),
        tavrix::append_windows_1252};
    const int status = script::run_script(in, "-", out, err, platform);

    require(status == script::kOk || status == script::kExpectFailed ||
                status == script::kScriptError || status == script::kGenerateFailed,
            "the exit status is 0, 1, 2 or 3");
    // Warnings ("aviso:") leave the status alone; every other message means a failure.
    std::string messages;
    std::istringstream err_lines(err.str());
    for (std::string line; std::getline(err_lines, line);) {
        if (!is_warning(line))
            messages += line + '\n';
    }
    require((status == script::kOk) == messages.empty(),
            "there are messages other than warnings exactly when the status is not 0", messages);

    // Nothing but dump writes to standard output, one JSON object a line.
    std::istringstream dumps(out.str());
    for (std::string line; std::getline(dumps, line);) {
        require(line.size() >= 2 && line.front() == '{' && line.back() == '}',
                "standard output holds only JSON dumps", line);
    }

    // One message per line of standard error, each naming a line of the script, in order.
    const long lines = count_lines(bytes);
    long previous = 0;
    std::istringstream each(messages);
    for (std::string message; std::getline(each, message);) {
        const std::optional<long> line = message_line(message);
        require(line.has_value(), "each message starts with \"-:LINE: \"", message);
        require(*line > previous && *line <= lines, "each message names a line of the script",
                message);
        previous = *line;
    }
    return 0;
}
