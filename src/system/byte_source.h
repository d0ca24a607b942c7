// A random-access source of bytes: a file from a stranger is read only where its own index
// points, a piece at a time, never whole.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/expected.h"
#include "system/system_error.h"

namespace tavrix {

// Whether `length` bytes from `offset` lie within `size` bytes. Every range read from a
// file is tested here, in a form in which nothing can overflow.
[[nodiscard]] constexpr bool range_fits(std::uint64_t offset, std::uint64_t length,
                                        std::uint64_t size) noexcept {
    return offset <= size && length <= size - offset;
}

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    [[nodiscard]] virtual std::uint64_t size() const noexcept = 0;
    // Fills `into` with the bytes from `offset`. False, with nothing promised of `into`, when
    // the range does not lie within the source or the system fails.
    [[nodiscard]] virtual bool read(std::uint64_t offset, std::span<std::uint8_t> into) = 0;
};

// Bytes held in memory, for tests and fuzzers.
class MemorySource : public ByteSource {
  public:
    explicit MemorySource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    std::uint64_t size() const noexcept override { return bytes_.size(); }
    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override;

  private:
    std::vector<std::uint8_t> bytes_;
};

// Why a file cannot be opened for reading.
struct FileOpenFailure {
    bool not_found = false;  // nothing is at the path
    std::string reason;      // in Spanish: "no hay permiso para leerlo"
    std::optional<SystemError> system_error = std::nullopt;  // when a system call refused

    static FileOpenFailure of(bool not_found, SystemError error) {
        std::string words = system_error_words(error);
        return {not_found, std::move(words), std::move(error)};
    }
};

// A regular file, opened for reading; its size is taken once, when it is opened, so that a
// file that shrinks afterwards makes reads fail rather than return less.
[[nodiscard]] Expected<std::unique_ptr<ByteSource>, FileOpenFailure> open_file_source(
    std::string_view path);

}  // namespace tavrix
