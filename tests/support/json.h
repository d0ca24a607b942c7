// A small JSON reader for checking the dump of tavrix-script.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tavrix::testing {

struct Json;
using JsonObject = std::map<std::string, Json>;
using JsonArray = std::vector<Json>;

struct Json {
    std::variant<std::nullptr_t, bool, double, std::string, JsonArray, JsonObject> value;

    const JsonObject& object() const { return std::get<JsonObject>(value); }
    const JsonArray& array() const { return std::get<JsonArray>(value); }
    const std::string& string() const { return std::get<std::string>(value); }
    const Json& operator[](const std::string& key) const { return object().at(key); }
};

// The document, or nothing when the text is not exactly one JSON value.
std::optional<Json> parse_json(std::string_view text);

}  // namespace tavrix::testing
