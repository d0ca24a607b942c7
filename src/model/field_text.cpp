#include "model/field_text.h"

namespace tavrix {

std::size_t field_length(std::string_view text) noexcept {
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        // Continuation bytes add nothing; a four-byte sequence is a surrogate pair.
        if ((byte & 0xC0) != 0x80)
            units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

std::string_view pasted_line(std::string_view pasted) noexcept {
    pasted = pasted.substr(0, pasted.find('\0'));
    std::size_t end = pasted.find('\n');
    if (end != std::string_view::npos && end > 0 && pasted[end - 1] == '\r')
        --end;
    return pasted.substr(0, end);
}

}  // namespace tavrix
