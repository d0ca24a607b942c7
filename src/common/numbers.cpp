#include "common/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace tavrix {
namespace {

bool is_parse_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool is_trim_blank(char c) {
    return c == ' ' || c == '\t';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_exponent_letter(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

int hex_digit_value(char c) {
    if (is_digit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int octal_digit_value(char c) {
    return (c >= '0' && c <= '7') ? c - '0' : -1;
}

// Reads a run of a base's digits as a whole number. The leading-number parse skips blanks
// between the digits, the strict conversion does not (it has none left by then).
template <typename DigitValue>
double read_radix_digits(std::string_view text, std::size_t& pos, int base, DigitValue digit,
                         bool skip_blanks, bool& any) {
    double value = 0;
    any = false;
    while (pos < text.size()) {
        if (skip_blanks && is_parse_blank(text[pos])) {
            ++pos;
            continue;
        }
        const int d = digit(text[pos]);
        if (d < 0)
            break;
        value = value * base + d;
        any = true;
        ++pos;
    }
    return value;
}

double read_radix_number(std::string_view text, std::size_t& pos, char letter, bool skip_blanks,
                         bool& any) {
    if (letter == 'H' || letter == 'h')
        return read_radix_digits(text, pos, 16, hex_digit_value, skip_blanks, any);
    if (letter == 'O' || letter == 'o')
        return read_radix_digits(text, pos, 8, octal_digit_value, skip_blanks, any);
    any = false;
    return 0;
}

// Decimal mantissa and exponent located in a text, as offsets into it.
struct DecimalSpan {
    std::size_t begin = 0;    // first character of the mantissa
    std::size_t end = 0;      // one past the exponent's last digit (or the mantissa's)
    bool has_digits = false;  // the mantissa holds at least one digit
    bool clean = true;        // no blank inside and the exponent letter is E or e
};

// The power of ten of the first significant digit of a decimal text out of the range of a
// double ("[digits][.digits][e[sign]digits]", a run of zeros excluded): at 0 or above the
// value is too large for a double, below it too small. Only the exponent tells neither.
std::int64_t decimal_magnitude(std::string_view digits) {
    constexpr std::int64_t kSaturated = 1'000'000'000'000'000;  // far beyond any text's length
    std::int64_t magnitude = -1;  // of the units digit, before its first significant digit
    std::int64_t zeros_after_point = 0;
    bool significant = false;
    bool after_point = false;
    std::size_t pos = 0;
    for (; pos < digits.size() && !is_exponent_letter(digits[pos]); ++pos) {
        const char c = digits[pos];
        if (c == '.') {
            after_point = true;
        } else if (!after_point) {
            significant = significant || c != '0';
            magnitude += significant ? 1 : 0;
        } else if (!significant) {
            significant = c != '0';
            zeros_after_point += significant ? 0 : 1;
        }
    }
    if (magnitude < 0)
        magnitude = -1 - zeros_after_point;
    std::int64_t exponent = 0;
    bool negative_exponent = false;
    if (++pos < digits.size() && (digits[pos] == '+' || digits[pos] == '-'))
        negative_exponent = digits[pos++] == '-';
    for (; pos < digits.size() && exponent < kSaturated; ++pos)
        exponent = exponent * 10 + (digits[pos] - '0');
    return magnitude + (negative_exponent ? -exponent : exponent);
}

// Converts the characters of a decimal span, without sign, to a double, rounding correctly.
// A value too large for a double gives an infinity, one too small gives 0.
double convert_decimal(std::string_view text, const DecimalSpan& span) {
    std::string cleaned;  // only for the rare texts with blanks inside or a D exponent
    std::string_view digits = text.substr(span.begin, span.end - span.begin);
    if (!span.clean) {
        cleaned.reserve(digits.size());
        for (char c : digits) {
            if (is_parse_blank(c))
                continue;
            cleaned.push_back((c == 'D' || c == 'd') ? 'e' : c);
        }
        digits = cleaned;
    }
    double value = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                           std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        return decimal_magnitude(digits) >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    (void)ptr;
    return value;
}

}  // namespace

double leading_number(std::string_view text) noexcept {
    std::size_t pos = 0;
    auto skip = [&] {
        while (pos < text.size() && is_parse_blank(text[pos]))
            ++pos;
    };
    skip();
    if (pos < text.size() && text[pos] == '&') {
        ++pos;
        skip();
        if (pos >= text.size())
            return 0;
        const char letter = text[pos++];
        bool any = false;
        return read_radix_number(text, pos, letter, /*skip_blanks=*/true, any);
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
        skip();
    }
    DecimalSpan span;
    span.begin = pos;
    bool seen_point = false;
    while (pos < text.size()) {
        const char c = text[pos];
        if (is_digit(c)) {
            span.has_digits = true;
        } else if (c == '.' && !seen_point) {
            seen_point = true;
        } else if (is_parse_blank(c)) {
            span.clean = false;
        } else {
            break;
        }
        ++pos;
    }
    if (!span.has_digits)
        return 0;
    span.end = pos;
    // The exponent counts only when digits follow its letter and optional sign.
    if (pos < text.size() && is_exponent_letter(text[pos])) {
        std::size_t look = pos + 1;
        bool blank_inside = false;
        auto skip_look = [&] {
            while (look < text.size() && is_parse_blank(text[look])) {
                ++look;
                blank_inside = true;
            }
        };
        skip_look();
        if (look < text.size() && (text[look] == '+' || text[look] == '-'))
            ++look;
        skip_look();
        if (look < text.size() && is_digit(text[look])) {
            while (look < text.size() && (is_digit(text[look]) || is_parse_blank(text[look]))) {
                blank_inside = blank_inside || is_parse_blank(text[look]);
                ++look;
            }
            span.end = look;
            if (blank_inside || text[pos] == 'D' || text[pos] == 'd')
                span.clean = false;
        }
    }
    // Blanks at the end of the mantissa were counted as inside; trimming them keeps the
    // common "5 " on the fast path.
    while (span.end > span.begin && is_parse_blank(text[span.end - 1]))
        --span.end;
    if (span.clean == false) {
        bool inner_blank = false;
        bool d_exponent = false;
        for (std::size_t i = span.begin; i < span.end; ++i) {
            inner_blank = inner_blank || is_parse_blank(text[i]);
            d_exponent = d_exponent || text[i] == 'D' || text[i] == 'd';
        }
        span.clean = !inner_blank && !d_exponent;
    }
    const double value = convert_decimal(text, span);
    return negative ? -value : value;
}

namespace {

// The strict conversion; `beyond` tells a number written in full that a double cannot hold.
std::optional<double> parse_strict(std::string_view text, bool& beyond) noexcept {
    while (!text.empty() && is_trim_blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_trim_blank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;

    if (text[0] == '&') {
        if (text.size() < 3)
            return std::nullopt;
        std::size_t pos = 2;
        bool any = false;
        const double value = read_radix_number(text, pos, text[1], /*skip_blanks=*/false, any);
        beyond = any && pos == text.size() && std::isinf(value);
        if (!any || pos != text.size() || std::isinf(value))
            return std::nullopt;
        return value;
    }

    std::size_t pos = 0;
    bool negative = false;
    if (text[pos] == '+' || text[pos] == '-') {
        negative = text[pos] == '-';
        ++pos;
    }
    DecimalSpan span;
    span.begin = pos;
    std::size_t integer_digits = 0;
    while (pos < text.size() && is_digit(text[pos]))
        ++pos, ++integer_digits;
    std::size_t fraction_digits = 0;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && is_digit(text[pos]))
            ++pos, ++fraction_digits;
    }
    if (integer_digits == 0 && fraction_digits == 0)
        return std::nullopt;
    if (pos < text.size() && is_exponent_letter(text[pos])) {
        span.clean = text[pos] == 'E' || text[pos] == 'e';
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            ++pos;
        std::size_t exponent_digits = 0;
        while (pos < text.size() && is_digit(text[pos]))
            ++pos, ++exponent_digits;
        if (exponent_digits == 0)
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;
    span.end = pos;
    span.has_digits = true;
    const double value = convert_decimal(text, span);
    beyond = std::isinf(value);
    if (beyond)
        return std::nullopt;
    return negative ? -value : value;
}

}  // namespace

std::optional<double> strict_number(std::string_view text) noexcept {
    bool beyond = false;
    return parse_strict(text, beyond);
}

bool is_beyond_double(std::string_view text) noexcept {
    bool beyond = false;
    return !parse_strict(text, beyond) && beyond;
}

std::size_t write_number_text(double value, char* out) noexcept {
    if (value == 0) {  // also a negative zero
        out[0] = '0';
        return 1;
    }
    // A whole number below 1e15 has at most 15 digits, which %.15G writes in full.
    if (std::trunc(value) == value && std::fabs(value) < 1e15) {
        const auto whole =
            std::to_chars(out, out + kNumberTextCapacity, static_cast<long long>(value));
        return static_cast<std::size_t>(whole.ptr - out);
    }
    const auto result =
        std::to_chars(out, out + kNumberTextCapacity, value, std::chars_format::general, 15);
    const auto length = static_cast<std::size_t>(result.ptr - out);
    for (std::size_t i = 0; i < length; ++i) {
        const char c = out[i];
        if (c >= 'a' && c <= 'z')
            out[i] = static_cast<char>(c - 'a' + 'A');  // %G, not %g
    }
    return length;
}

std::string number_text(double value) {
    char buffer[kNumberTextCapacity];
    return std::string(buffer, write_number_text(value, buffer));
}

std::string sign_padded_number_text(double value) {
    std::string text = number_text(value);
    if (!(value < 0))
        text.insert(text.begin(), ' ');
    return text;
}

std::string grouped_number(std::uint64_t count) {
    std::string digits = std::to_string(count);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, '.');
    return digits;
}

}  // namespace tavrix
