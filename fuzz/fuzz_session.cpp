// Arbitrary bytes as a session file: the reader never crashes, refuses on one line whatever
// is not a session, and reads a session as exactly what its JSON says: written back, it gives
// the same document, which reads as the same session and is written again byte for byte.
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "common/encoding.h"
#include "fuzz_check.h"
#include "session/session.h"

namespace {

using tavrix::fuzz::require;
using Json = nlohmann::json;

void check_refusal(std::string_view bytes, const std::string& reason) {
    require(
        !reason.empty() && tavrix::is_valid_utf8(reason) && reason.find('\n') == std::string::npos,
        "a refusal says why, on one line", reason);
    // The parser judges what is JSON: a document it refuses is no session, and one it takes
    // is refused for what it holds.
    if (!Json::accept(bytes))
        return;
    require(reason.find("no es un documento JSON válido") == std::string::npos,
            "valid JSON is not called invalid", reason);
}

void check_session(std::string_view bytes, const tavrix::Session& session) {
    require(Json::accept(bytes), "a session is valid JSON");
    const std::string written = tavrix::session_file_bytes(session);
    Json expected = Json::parse(bytes);
    expected["window"]["caption"] = "Tavrix v2.0 -= BETA =-";  // not a session's own
    if (!expected.contains("options"))
        expected["options"] = Json{{std::string(tavrix::kEngineReadyOption), false}};
    require(Json::parse(written) == expected, "a session is read as its JSON says", written);
    const auto again = tavrix::read_session(written);
    require(again.ok(), "a session written reads", again.ok() ? "" : again.error());
    require(again.value() == session, "a session written reads as the same session");
    require(tavrix::session_file_bytes(again.value()) == written,
            "a session is written again byte for byte");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = tavrix::read_session(bytes);
    if (read.ok())
        check_session(bytes, read.value());
    else
        check_refusal(bytes, read.error());
    return 0;
}
