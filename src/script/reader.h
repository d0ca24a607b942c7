// Reading one line of a tavrix-script script into its tokens: bare words and quoted texts
// with JSON-like escapes, separated by blanks.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tavrix::script {

struct ReadError {
    std::string message;  // Spanish
};

using Tokens = std::vector<std::string>;

// A blank line or a comment gives no tokens.
std::variant<Tokens, ReadError> read_line(std::string_view line);

}  // namespace tavrix::script
