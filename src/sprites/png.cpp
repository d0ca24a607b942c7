#include "sprites/png.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>

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
constexpr std::size_t kChunkFrame = 12;  // length, type and CRC around a chunk's data
constexpr std::size_t kHeaderLength = 13;
constexpr std::uint8_t kIndexedColour = 3;
// Deflate makes at most 258 bytes of two bits (a one-bit length code and a one-bit distance
// code), so image data shorter than this part of the pixels it must inflate to is a lie.
constexpr std::uint64_t kMostInflation = 1032;

std::uint32_t big_endian(CodedBytes bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

void append(std::vector<std::uint8_t>& out, CodedBytes bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

bool is_type(CodedBytes chunk, const char (&type)[5]) {
    return std::equal(type, type + 4, chunk.begin() + 4);
}

// The bytes of the filtered image that the header states, before any pixel is inflated.
std::uint64_t filtered_bytes(CodedBytes header) {
    static constexpr std::array<std::uint64_t, 7> kChannels = {1, 0, 3, 1, 2, 0, 4};
    const std::uint64_t width = big_endian(header), height = big_endian(header.subspan(4));
    const std::uint64_t depth = header[8], type = header[9];
    const std::uint64_t channels = type < kChannels.size() ? kChannels[type] : 1;
    return height * (1 + (width * channels * depth + 7) / 8);
}

// The chunks walked before stb_image is handed them, for it takes the memory that a chunk's
// length states before reading the chunk, copies an empty image data chunk into no memory,
// and takes the whole image's memory before inflating it. So each chunk must lie within
// the data, an empty image data chunk is left out, and the image data must be able to
// inflate to the size the header states. stb_image expands an indexed PNG into its
// palette's colours and has no call that gives the indexes: with `indexes`, the palette
// chunk is replaced by a grey ramp (entry i is i,i,i) and the transparency chunk left out,
// so that each pixel's index decodes as its grey value. stb_image does not check chunk CRCs,
// so the new chunk carries none that is right.
Expected<std::vector<std::uint8_t>, SpriteFaultKind> walked(CodedBytes png, std::uint32_t width,
                                                            std::uint32_t height, bool indexes) {
    constexpr std::size_t kHeaderEnd = kSignature.size() + kChunkFrame + kHeaderLength;
    if (png.size() < kHeaderEnd || !std::equal(kSignature.begin(), kSignature.end(), png.begin()) ||
        big_endian(png.subspan(kSignature.size())) != kHeaderLength ||
        !is_type(png.subspan(kSignature.size()), "IHDR"))
        return SpriteFaultKind::PngRefused;
    const CodedBytes header = png.subspan(kSignature.size() + 8, kHeaderLength);
    if (big_endian(header) != width || big_endian(header.subspan(4)) != height)
        return SpriteFaultKind::SizeMismatch;
    if (indexes && header[9] != kIndexedColour)
        return SpriteFaultKind::PngRefused;
    std::vector<std::uint8_t> copy(png.begin(), png.begin() + kSignature.size());
    copy.reserve(png.size() + 256 * 3);
    std::uint64_t image_data = 0;
    for (std::size_t at = kSignature.size();;) {
        if (png.size() - at < kChunkFrame ||
            big_endian(png.subspan(at)) > png.size() - at - kChunkFrame)
            return SpriteFaultKind::PngRefused;  // ends before its last chunk
        const CodedBytes chunk = png.subspan(at, big_endian(png.subspan(at)) + kChunkFrame);
        at += chunk.size();
        if (is_type(chunk, "IDAT")) {
            image_data += chunk.size() - kChunkFrame;
            if (chunk.size() > kChunkFrame)
                append(copy, chunk);
        } else if (indexes && is_type(chunk, "PLTE")) {
            append(copy, std::array<std::uint8_t, 8>{0, 0, 3, 0, 'P', 'L', 'T', 'E'});
            for (int index = 0; index < 256; ++index)
                copy.insert(copy.end(), 3, static_cast<std::uint8_t>(index));
            copy.insert(copy.end(), 4, 0);  // the CRC
        } else if (!indexes || !is_type(chunk, "tRNS")) {
            append(copy, chunk);
        }
        if (is_type(chunk, "IEND"))
            break;
    }
    if (filtered_bytes(header) > image_data * kMostInflation)
        return SpriteFaultKind::SizeMismatch;
    return copy;
}

// Indexes come as grey: stb_image weighs red, green and blue by 77, 150 and 29 of 256, so
// the ramp's entry i,i,i gives i exactly.
int channels_of(PngPixels pixels) {
    return pixels == PngPixels::Rgba ? 4 : pixels == PngPixels::Rgb ? 3 : 1;
}

}  // namespace

Expected<std::vector<std::uint8_t>, SpriteFaultKind> decode_png(CodedBytes png, std::uint32_t width,
                                                                std::uint32_t height,
                                                                PngPixels pixels) {
    auto prepared = walked(png, width, height, pixels == PngPixels::Indexes);
    if (!prepared.ok())
        return prepared.error();
    png = prepared.value();
    if (png.size() > INT_MAX)
        return SpriteFaultKind::PngRefused;
    const int length = static_cast<int>(png.size());
    int got_width = 0;
    int got_height = 0;
    int channels = 0;
    const std::size_t count = static_cast<std::size_t>(width) * height;
    g_allocation_limit = 2 * (count * 8 + height) + static_cast<std::size_t>(kMaxCodedSlack);
    const int wanted = channels_of(pixels);
    stbi_uc* decoded =
        stbi_load_from_memory(png.data(), length, &got_width, &got_height, &channels, wanted);
    g_allocation_limit = 0;
    if (!decoded)
        return SpriteFaultKind::PngRefused;
    if (static_cast<std::uint32_t>(got_width) != width ||
        static_cast<std::uint32_t>(got_height) != height) {
        stbi_image_free(decoded);
        return SpriteFaultKind::SizeMismatch;
    }
    std::vector<std::uint8_t> out(decoded, decoded + count * static_cast<std::size_t>(wanted));
    stbi_image_free(decoded);
    return out;
}

}  // namespace tavrix
