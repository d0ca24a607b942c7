#include "support/json.h"

#include <cstdlib>

namespace tavrix::testing {
namespace {

class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<Json> document() {
        auto value = parse_value();
        skip_blanks();
        if (!value || pos_ != text_.size())
            return std::nullopt;
        return value;
    }

  private:
    void skip_blanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' ||
                                       text_[pos_] == '\r' || text_[pos_] == '\t')) {
            ++pos_;
        }
    }
    bool take(char c) {
        skip_blanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool take_word(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word)
            return false;
        pos_ += word.size();
        return true;
    }

    std::optional<Json> parse_value() {
        skip_blanks();
        if (pos_ >= text_.size())
            return std::nullopt;
        const char c = text_[pos_];
        if (c == '{')
            return parse_object();
        if (c == '[')
            return parse_array();
        if (c == '"') {
            auto text = parse_string();
            if (!text)
                return std::nullopt;
            return Json{*text};
        }
        if (take_word("null"))
            return Json{nullptr};
        if (take_word("true"))
            return Json{true};
        if (take_word("false"))
            return Json{false};
        return parse_number();
    }

    std::optional<Json> parse_number() {
        const char* begin = text_.data() + pos_;
        char* end = nullptr;
        const double number = std::strtod(begin, &end);
        if (end == begin)
            return std::nullopt;
        pos_ += static_cast<std::size_t>(end - begin);
        return Json{number};
    }

    std::optional<std::string> parse_string() {
        if (!take('"'))
            return std::nullopt;
        std::string out;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"')
                return out;
            if (static_cast<unsigned char>(c) < 0x20)
                return std::nullopt;
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (pos_ >= text_.size())
                return std::nullopt;
            const char e = text_[pos_++];
            switch (e) {
                case '"':
                    out.push_back('"');
                    break;
                case '\\':
                    out.push_back('\\');
                    break;
                case '/':
                    out.push_back('/');
                    break;
                case 'n':
                    out.push_back('\n');
                    break;
                case 'r':
                    out.push_back('\r');
                    break;
                case 't':
                    out.push_back('\t');
                    break;
                case 'b':
                    out.push_back('\b');
                    break;
                case 'f':
                    out.push_back('\f');
                    break;
                case 'u': {
                    if (pos_ + 4 > text_.size())
                        return std::nullopt;
                    const long code =
                        std::strtol(std::string(text_.substr(pos_, 4)).c_str(), nullptr, 16);
                    pos_ += 4;
                    if (code >= 0x80)
                        return std::nullopt;  // the dump escapes controls only
                    out.push_back(static_cast<char>(code));
                    break;
                }
                default:
                    return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::optional<Json> parse_array() {
        take('[');
        JsonArray items;
        if (take(']'))
            return Json{items};
        do {
            auto item = parse_value();
            if (!item)
                return std::nullopt;
            items.push_back(std::move(*item));
        } while (take(','));
        if (!take(']'))
            return std::nullopt;
        return Json{std::move(items)};
    }

    std::optional<Json> parse_object() {
        take('{');
        JsonObject members;
        if (take('}'))
            return Json{members};
        do {
            skip_blanks();
            auto key = parse_string();
            if (!key || !take(':'))
                return std::nullopt;
            auto item = parse_value();
            if (!item || !members.emplace(*key, std::move(*item)).second)
                return std::nullopt;
        } while (take(','));
        if (!take('}'))
            return std::nullopt;
        return Json{std::move(members)};
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::optional<Json> parse_json(std::string_view text) {
    return Parser(text).document();
}

}  // namespace tavrix::testing
