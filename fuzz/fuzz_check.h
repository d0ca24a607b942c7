// What the fuzz targets share: a failed property prints what broke and aborts, so that
// libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tavrix::fuzz {

[[noreturn]] inline void broken(std::string_view property, std::string_view detail = {}) {
    std::fprintf(stderr, "property broken: %.*s\n  %.*s\n", static_cast<int>(property.size()),
                 property.data(), static_cast<int>(detail.size()), detail.data());
    std::abort();
}

inline void require(bool holds, std::string_view property, std::string_view detail = {}) {
    if (!holds)
        broken(property, detail);
}

}  // namespace tavrix::fuzz
