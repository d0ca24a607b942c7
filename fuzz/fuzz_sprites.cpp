// Arbitrary bytes as a sprite archive, a file from a stranger. Opening either refuses on one
// Spanish line or gives an index; then every sprite of it draws as a picture of the size and
// axis that the index gives, or is refused with a fault that names that sprite, and the same
// again when asked again. What is kept of the decoded sprites stays within its limit, and no
// allocation is out of proportion to the file: a size that the file states but does not
// hold the data for is refused before its memory is taken.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/encoding.h"
#include "fuzz_check.h"
#include "sprites/archive.h"

namespace {

using tavrix::SpriteArchive;
using tavrix::SpriteFault;
using tavrix::SpriteInfo;
using tavrix::fuzz::require;

constexpr std::size_t kMostDrawn = 64;         // keeps the run of one input short
constexpr std::uint64_t kKeptLimit = 1 << 20;  // small, so that kept sprites make room

// The most pixels that one byte of a file can hold: a PNG of one bit a pixel whose image
// data inflates a byte to 1032 (deflate at its best); a picture takes four bytes a pixel.
constexpr std::size_t kBytesPerFileByte = 4 * 8 * 1032;
constexpr std::size_t kAllocationSlack = 1 << 20;

// The largest allocation since the last reset, where the sanitizer runtime offers its hooks
// (under the fuzzer and the sanitizer builds; elsewhere it is not measured).
std::size_t g_largest_allocation = 0;

void on_malloc(const volatile void*, std::size_t size) {
    g_largest_allocation = std::max(g_largest_allocation, size);
}

void on_free(const volatile void*) {}

}  // namespace

extern "C" __attribute__((weak)) int __sanitizer_install_malloc_and_free_hooks(
    void (*malloc_hook)(const volatile void*, std::size_t),
    void (*free_hook)(const volatile void*));

namespace {

void check_text(const SpriteFault& fault) {
    const std::string text = tavrix::sprite_fault_text(fault);
    require(!text.empty() && tavrix::is_valid_utf8(text) && text.find('\n') == std::string::npos,
            "a fault is told on one line", text);
}

void check_sprite(SpriteArchive& archive, const SpriteInfo& info) {
    const auto picture = archive.picture(info.key);
    const auto again = archive.picture(info.key);
    require(picture.ok() == again.ok(), "a sprite asked again gives the same answer");
    if (!picture.ok()) {
        const SpriteFault& fault = picture.error();
        check_text(fault);
        require(fault.place == tavrix::FaultPlace::Sprite && fault.key == info.key,
                "a sprite's fault names that sprite", tavrix::sprite_fault_text(fault));
        require(again.error().kind == fault.kind, "a refused sprite is refused again the same");
        return;
    }
    const tavrix::Picture& drawn = *picture.value();
    require(drawn.width == info.width && drawn.height == info.height,
            "a picture has the size that the index gives");
    require(drawn.axis_x == info.axis_x && drawn.axis_y == info.axis_y,
            "a picture has the axis that the index gives");
    require(drawn.rgba.size() == std::size_t{drawn.width} * drawn.height * 4,
            "a picture holds four bytes a pixel");
    require(again.value()->rgba == drawn.rgba, "a sprite asked again has the same pixels");
    require(archive.kept_bytes() <= kKeptLimit, "the sprites kept stay within their limit");
}

void check_archive(SpriteArchive& archive) {
    require(archive.version() == 1 || archive.version() == 2, "an archive is of version 1 or 2");
    archive.set_kept_limit(kKeptLimit);
    // A key given twice is drawn from its first sprite.
    std::map<tavrix::SpriteKey, const SpriteInfo*> first;
    for (const SpriteInfo& info : archive.sprites()) {
        if (first.emplace(info.key, &info).second && first.size() <= kMostDrawn)
            check_sprite(archive, info);
    }
    const tavrix::SpriteKey absent{65535, 65535};
    if (!first.contains(absent)) {
        const auto missing = archive.picture(absent);
        require(!missing.ok() && missing.error().kind == tavrix::SpriteFaultKind::NoSuchSprite,
                "a sprite that is not in the index is not found");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool measured = __sanitizer_install_malloc_and_free_hooks &&
                                 __sanitizer_install_malloc_and_free_hooks(on_malloc, on_free) != 0;
    g_largest_allocation = 0;
    auto archive = SpriteArchive::open(
        std::make_unique<tavrix::MemorySource>(std::vector<std::uint8_t>(data, data + size)));
    if (archive.ok())
        check_archive(archive.value());
    else
        check_text(archive.error());
    require(!measured || g_largest_allocation <= kBytesPerFileByte * size + kAllocationSlack,
            "no allocation is out of proportion to the file",
            std::to_string(g_largest_allocation) + " bytes for a file of " + std::to_string(size));
    return 0;
}
