#include "script/reader.h"

#include <cstdint>
#include <optional>

#include "common/encoding.h"

namespace tavrix::script {
namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

void append_utf8(char32_t code, std::string& out) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

std::optional<char32_t> read_hex4(std::string_view line, std::size_t& pos) {
    if (pos + 4 > line.size())
        return std::nullopt;
    char32_t code = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = line[pos + i];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        code = code * 16 + static_cast<char32_t>(digit);
    }
    pos += 4;
    return code;
}

bool is_high_surrogate(char32_t code) {
    return code >= 0xD800 && code <= 0xDBFF;
}
bool is_low_surrogate(char32_t code) {
    return code >= 0xDC00 && code <= 0xDFFF;
}

// Reads a \uXXXX escape (after the "\u"), joining a surrogate pair into one character.
std::optional<ReadError> read_unicode_escape(std::string_view line, std::size_t& pos,
                                             std::string& out) {
    const std::optional<char32_t> first = read_hex4(line, pos);
    if (!first)
        return ReadError{"\\u debe ir seguido de cuatro cifras hexadecimales"};
    if (is_low_surrogate(*first))
        return ReadError{"suplente bajo \\u sin suplente alto"};
    if (!is_high_surrogate(*first)) {
        append_utf8(*first, out);
        return std::nullopt;
    }
    if (line.substr(pos, 2) != "\\u")
        return ReadError{"suplente alto \\u sin suplente bajo"};
    pos += 2;
    const std::optional<char32_t> second = read_hex4(line, pos);
    if (!second || !is_low_surrogate(*second)) {
        return ReadError{"suplente alto \\u sin suplente bajo"};
    }
    append_utf8(0x10000 + ((*first - 0xD800) << 10) + (*second - 0xDC00), out);
    return std::nullopt;
}

// Reads a quoted text starting at the opening quote; `pos` ends after the closing one.
std::optional<ReadError> read_quoted(std::string_view line, std::size_t& pos, std::string& out) {
    ++pos;
    // A long text grows no copy on the way: it never needs more than the rest of the line.
    out.reserve(line.size() - pos);
    while (pos < line.size()) {
        const char c = line[pos++];
        if (c == '"')
            return std::nullopt;
        if (c != '\\') {
            out.push_back(c);
            continue;
        }
        if (pos >= line.size())
            break;
        const char escape = line[pos++];
        switch (escape) {
            case '"':
                out.push_back('"');
                break;
            case '\\':
                out.push_back('\\');
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
            case 'u':
                if (auto error = read_unicode_escape(line, pos, out))
                    return error;
                break;
            default:
                return ReadError{std::string("secuencia de escape desconocida \\") + escape};
        }
    }
    return ReadError{"falta la comilla que cierra el texto"};
}

}  // namespace

std::variant<Tokens, ReadError> read_line(std::string_view line) {
    if (!is_valid_utf8(line))
        return ReadError{"la línea no es texto UTF-8 válido"};
    Tokens tokens;
    std::size_t pos = 0;
    for (;;) {
        while (pos < line.size() && is_blank(line[pos]))
            ++pos;
        if (pos >= line.size())
            break;
        if (tokens.empty() && line[pos] == '#')
            break;
        std::string token;
        if (line[pos] == '"') {
            if (auto error = read_quoted(line, pos, token))
                return *error;
        } else {
            const std::size_t start = pos;
            while (pos < line.size() && !is_blank(line[pos]) && line[pos] != '"')
                ++pos;
            token.assign(line.substr(start, pos - start));
        }
        if (pos < line.size() && !is_blank(line[pos])) {
            return ReadError{"falta un espacio entre dos palabras"};
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

}  // namespace tavrix::script
