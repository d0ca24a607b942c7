// The three number rules on arbitrary bytes: none may crash, and they must agree where the
// field rules and the frame expansion rely on them agreeing.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "common/numbers.h"
#include "fuzz_check.h"

namespace {

using tavrix::fuzz::require;

std::string printf_text(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15G", value);
    return std::string(text) == "-0" ? "0" : text;
}

// Fifteen significant digits leave at most half a unit of the fifteenth digit, a relative
// error of 5e-15, and reading the text back rounds once more to the nearest double (a few
// 1e-16); subnormal values have fewer digits of their own, hence the absolute floor.
bool same_to_15_digits(double a, double b) {
    const double tolerance = std::max(std::fabs(a), std::fabs(b)) * 5.5e-15;
    return std::fabs(a - b) <= std::max(tolerance, std::numeric_limits<double>::denorm_min());
}

// Properties of the number text of any finite value.
void check_number_text(double value) {
    char buffer[tavrix::kNumberTextCapacity + 1];
    std::memset(buffer, '#', sizeof buffer);
    const std::size_t length = tavrix::write_number_text(value, buffer);
    require(length <= tavrix::kNumberTextCapacity, "the number text fits its buffer");
    const std::string text(buffer, length);
    require(text == printf_text(value), "the number text is that of %.15G", text);
    require(tavrix::number_text(value) == text, "number_text and write_number_text agree", text);

    const std::optional<double> back = tavrix::strict_number(text);
    if (!back) {
        // Only a value next to the largest double rounds, at 15 digits, beyond the range.
        require(std::isinf(tavrix::leading_number(text)),
                "the strict conversion reads the text of every number that fits", text);
        return;
    }
    require(same_to_15_digits(*back, value), "the number text keeps 15 digits", text);
    require(tavrix::leading_number(text) == *back, "the leading-number parse gives the same value",
            text);
    require(tavrix::number_text(*back) == text, "the number text is stable", text);

    const std::string padded = tavrix::sign_padded_number_text(value);
    require(padded == (value >= 0 ? " " + text : text), "the sign padding", padded);
}

// The leading number as the C library reads it: with the blanks taken out, D read as E, and
// the text cut where the number's characters end (strtod alone would read "0x", "inf"...).
// Nothing for "&H" and "&O", which the C library does not know.
std::optional<double> c_library_leading_number(std::string_view text) {
    std::string number;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n')
            continue;
        if (number.empty() && c == '&')
            return std::nullopt;
        if (c == 'D' || c == 'd')
            c = 'e';
        if (!std::strchr("0123456789.eE+-", c) || c == '\0')
            break;
        number.push_back(c);
    }
    return std::strtod(number.c_str(), nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double leading = tavrix::leading_number(text);
    require(!std::isnan(leading), "the leading-number parse never gives NaN");
    if (const std::optional<double> c_library = c_library_leading_number(text)) {
        require(leading == *c_library, "the leading-number parse rounds as strtod does",
                printf_text(*c_library));
    }

    if (const std::optional<double> strict = tavrix::strict_number(text)) {
        require(std::isfinite(*strict), "the strict conversion gives only finite values");
        require(leading == *strict, "a text that is wholly a number reads the same both ways");
        check_number_text(*strict);
    }

    // The same bytes as a double, to reach values no short text spells.
    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        if (std::isfinite(value))
            check_number_text(value);
    }
    return 0;
}
