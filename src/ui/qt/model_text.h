// The model's texts (UTF-8) as Qt shows them.
#pragma once

#include <QString>
#include <string_view>

namespace tavrix::qt {

inline QString from_model(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tavrix::qt
