#include "common/encoding.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace tavrix {
namespace {

// The characters that Windows-1252 places at 0x80 to 0x9F, indexed by byte - 0x80. The five
// unassigned bytes stand for the same C1 code points, as Windows maps them.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char to_windows_1252(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == code)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

// Decodes one UTF-8 sequence at `pos`; returns its length, or 0 when it is malformed.
std::size_t decode_utf8(std::string_view text, std::size_t pos, char32_t& code) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(pos);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(pos + i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

bool is_ascii(std::string_view text) noexcept {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

bool is_valid_utf8(std::string_view text) noexcept {
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t code = 0;
        const std::size_t length = decode_utf8(text, pos, code);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

void append_windows_1252(std::string_view utf8, std::string& out) {
    if (is_ascii(utf8)) {
        out.append(utf8);
        return;
    }
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t code = 0;
        const std::size_t length = decode_utf8(utf8, pos, code);
        if (length == 0) {
            out.push_back('?');
            ++pos;
            continue;
        }
        out.push_back(to_windows_1252(code));
        pos += length;
    }
}

void append_utf8_from_windows_1252(std::string_view bytes, std::string& out) {
    if (is_ascii(bytes)) {
        out.append(bytes);
        return;
    }
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const char32_t code = byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
}

namespace {

void append_escaped(char32_t code, std::string_view bytes, std::string& out) {
    switch (code) {
        case '\n':
            out.append("\\n");
            return;
        case '\r':
            out.append("\\r");
            return;
        case '\t':
            out.append("\\t");
            return;
        default:
            break;
    }
    const bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F);
    if (!control) {
        out.append(bytes);
        return;
    }
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(code));
    out.append(escaped);
}

// Appends at most `limit` characters of `text`, escaped; tells whether all of it fitted.
bool append_for_message(std::string_view text, std::size_t limit, std::string& out) {
    std::size_t characters = 0;
    for (std::size_t pos = 0; pos < text.size(); ++characters) {
        if (characters == limit)
            return false;
        char32_t code = 0;
        const std::size_t length = decode_utf8(text, pos, code);
        if (length == 0) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x",
                          static_cast<unsigned>(static_cast<unsigned char>(text[pos])));
            out.append(escaped);
            ++pos;
            continue;
        }
        append_escaped(code, text.substr(pos, length), out);
        pos += length;
    }
    return true;
}

}  // namespace

std::string escaped_for_message(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    append_for_message(text, std::string_view::npos, out);
    return out;
}

std::string quoted_for_message(std::string_view text, std::size_t limit) {
    std::string out = "\"";
    if (!append_for_message(text, limit, out))
        out.append("...");
    out.push_back('"');
    return out;
}

}  // namespace tavrix
