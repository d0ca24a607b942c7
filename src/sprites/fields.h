// Little-endian fields of a fixed-size record that was read whole: the position is checked
// against the record's size when the program is compiled, so a field read cannot fail.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tavrix::fields {

template <std::size_t At, std::size_t N>
[[nodiscard]] constexpr std::uint8_t u8(const std::array<std::uint8_t, N>& record) {
    static_assert(At + 1 <= N);
    return record[At];
}

template <std::size_t At, std::size_t N>
[[nodiscard]] constexpr std::uint16_t u16(const std::array<std::uint8_t, N>& record) {
    static_assert(At + 2 <= N);
    return static_cast<std::uint16_t>(record[At] | record[At + 1] << 8);
}

template <std::size_t At, std::size_t N>
[[nodiscard]] constexpr std::int16_t i16(const std::array<std::uint8_t, N>& record) {
    return static_cast<std::int16_t>(u16<At>(record));
}

template <std::size_t At, std::size_t N>
[[nodiscard]] constexpr std::uint32_t u32(const std::array<std::uint8_t, N>& record) {
    static_assert(At + 4 <= N);
    return static_cast<std::uint32_t>(record[At]) |
           static_cast<std::uint32_t>(record[At + 1]) << 8 |
           static_cast<std::uint32_t>(record[At + 2]) << 16 |
           static_cast<std::uint32_t>(record[At + 3]) << 24;
}

}  // namespace tavrix::fields
