#include "storyboard/engine_reading.h"

#include <algorithm>
#include <utility>

namespace tavrix {

bool is_plain_whole(std::string_view text) noexcept {
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

namespace {

// A plain whole number's sign and digits without leading zeros; "-0" is "0".
std::pair<bool, std::string_view> whole_value(std::string_view text) noexcept {
    const bool negative = text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    while (text.size() > 1 && text.front() == '0')
        text.remove_prefix(1);
    return {negative && text != "0", text};
}

}  // namespace

bool same_action_number(std::string_view a, std::string_view b) noexcept {
    if (a == b)
        return true;
    return is_plain_whole(a) && is_plain_whole(b) && whole_value(a) == whole_value(b);
}

std::string_view trim_blanks(std::string_view text) noexcept {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

}  // namespace tavrix
