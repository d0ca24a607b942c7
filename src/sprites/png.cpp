#include "sprites/png.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <optional>

#include "sprites/limits.h"

namespace {

// The most stb_image may take in one allocation while it decodes the present sprite: enough
// for its 16-bit pixels with their filter bytes twice over, so that a stream that inflates
// beyond what its header says runs out instead of taking the memory.
thread_local std::size_t g_allocation_limit = 0;

void* bounded_malloc(std::size_t size) {
    return size <= g_allocation_limit ? std::malloc(size) : nullptr;
}

void* bounded_realloc(void* block, std::size_t size) {
    return size <= g_allocation_limit ? std::realloc(block, size) : nullptr;
}

}  // namespace

#define STBI_MALLOC(size) bounded_malloc(size)
#define STBI_REALLOC(block, size) bounded_realloc(block, size)
#define STBI_FREE(block) std::free(block)
#define STBI_MAX_DIMENSIONS static_cast<int>(tavrix::kMaxSpriteSide)
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace tavrix {
namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kColourTypeAt = 25;  // in IHDR, the first chunk
constexpr std::uint8_t kIndexedColour = 3;

std::uint32_t big_endian(CodedBytes bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

void append(std::vector<std::uint8_t>& out, CodedBytes bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// stb_image expands an indexed PNG into its palette's colours and has no call that gives the
// indexes. Handed a copy whose palette chunk is replaced by a grey ramp (entry i is i,i,i)
// and whose transparency chunk is left out, it decodes each pixel's index as its red value.
// stb_image does not check chunk CRCs, so the new chunk carries none that is right.
std::optional<std::vector<std::uint8_t>> with_index_ramp(CodedBytes png) {
    if (png.size() <= kColourTypeAt ||
        !std::equal(kSignature.begin(), kSignature.end(), png.begin()) ||
        png[kColourTypeAt] != kIndexedColour)
        return std::nullopt;
    std::vector<std::uint8_t> copy(png.begin(), png.begin() + kSignature.size());
    copy.reserve(png.size() + 256 * 3);
    std::size_t at = kSignature.size();
    while (png.size() - at >= 12) {
        const std::uint32_t length = big_endian(png.subspan(at));
        if (length > png.size() - at - 12)
            break;  // the rest goes as it is, for stb_image to refuse
        const CodedBytes type = png.subspan(at + 4, 4);
        const CodedBytes chunk = png.subspan(at, length + 12u);
        at += chunk.size();
        if (std::equal(type.begin(), type.end(), "PLTE")) {
            append(copy, std::array<std::uint8_t, 8>{0, 0, 3, 0, 'P', 'L', 'T', 'E'});
            for (int index = 0; index < 256; ++index)
                copy.insert(copy.end(), 3, static_cast<std::uint8_t>(index));
            copy.insert(copy.end(), 4, 0);  // the CRC
        } else if (!std::equal(type.begin(), type.end(), "tRNS")) {
            append(copy, chunk);
        }
    }
    append(copy, png.subspan(at));
    return copy;
}

int channels_of(PngPixels pixels) {
    return pixels == PngPixels::Rgba ? 4 : 3;
}

}  // namespace

Expected<std::vector<std::uint8_t>, SpriteFaultKind> decode_png(CodedBytes png, std::uint32_t width,
                                                                std::uint32_t height,
                                                                PngPixels pixels) {
    std::optional<std::vector<std::uint8_t>> ramped;
    if (pixels == PngPixels::Indexes) {
        ramped = with_index_ramp(png);
        if (!ramped)
            return SpriteFaultKind::PngRefused;
        png = *ramped;
    }
    if (png.size() > INT_MAX)
        return SpriteFaultKind::PngRefused;
    const int length = static_cast<int>(png.size());
    int got_width = 0;
    int got_height = 0;
    int channels = 0;
    if (!stbi_info_from_memory(png.data(), length, &got_width, &got_height, &channels))
        return SpriteFaultKind::PngRefused;
    if (static_cast<std::uint32_t>(got_width) != width ||
        static_cast<std::uint32_t>(got_height) != height)
        return SpriteFaultKind::SizeMismatch;
    const std::size_t count = static_cast<std::size_t>(width) * height;
    g_allocation_limit = 2 * (count * 8 + height) + static_cast<std::size_t>(kMaxCodedSlack);
    const int wanted = channels_of(pixels);
    stbi_uc* decoded =
        stbi_load_from_memory(png.data(), length, &got_width, &got_height, &channels, wanted);
    g_allocation_limit = 0;
    if (!decoded)
        return SpriteFaultKind::PngRefused;
    std::vector<std::uint8_t> out;
    if (pixels == PngPixels::Indexes) {
        out.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            out[i] = decoded[i * 3];
    } else {
        out.assign(decoded, decoded + count * static_cast<std::size_t>(wanted));
    }
    stbi_image_free(decoded);
    return out;
}

}  // namespace tavrix
