// Version 2: a header naming a table of 28-byte sprite nodes, a table of 16-byte palette
// nodes, and two blocks of data (literal and translated) that the nodes point into.
#include <algorithm>
#include <array>
#include <optional>

#include "sprites/fields.h"
#include "sprites/index.h"
#include "sprites/limits.h"
#include "sprites/links.h"

namespace tavrix {
namespace {

using namespace fields;
using K = SpriteFaultKind;

constexpr std::uint64_t kHeaderSize = 68;  // the fields read; the rest is a comment
constexpr std::size_t kSpriteNodeSize = 28;
constexpr std::size_t kPaletteNodeSize = 16;

struct Block {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

Encoding encoding_of(std::uint8_t format) {
    switch (format) {
        case 0:
            return Encoding::Raw;
        case 2:
            return Encoding::Rle8;
        case 3:
            return Encoding::Rle5;
        case 4:
            return Encoding::Lz5;
        case 10:
            return Encoding::PngIndexed;
        case 11:
            return Encoding::PngRgb;
        case 12:
            return Encoding::PngRgba;
        default:
            return Encoding::Unknown;
    }
}

template <std::size_t N>
std::array<std::uint8_t, N> node_at(const std::vector<std::uint8_t>& table, std::size_t index) {
    std::array<std::uint8_t, N> node{};
    std::copy_n(table.begin() + static_cast<std::ptrdiff_t>(index * N), N, node.begin());
    return node;
}

SpriteFault palette_fault(SpriteFaultKind kind, SpriteKey key, std::uint64_t offset) {
    SpriteFault fault = sprite_fault(kind, key, offset);
    fault.place = FaultPlace::Palette;
    return fault;
}

class ReaderV2 {
  public:
    explicit ReaderV2(ByteSource& source) : source_(source), size_(source.size()) {}

    Expected<std::vector<IndexEntry>, SpriteFault> read() {
        std::array<std::uint8_t, kHeaderSize> header{};
        if (!range_fits(0, kHeaderSize, size_))
            return archive_fault(K::Truncated, size_);
        if (!source_.read(0, header))
            return unreadable_fault();
        literal_ = {u32<52>(header), u32<56>(header)};
        translated_ = {u32<60>(header), u32<64>(header)};
        for (const Block& block : {literal_, translated_}) {
            if (!range_fits(block.offset, block.length, size_))
                return archive_fault(range_fault(block.offset, size_), block.offset);
        }
        auto palettes = table(u32<44>(header), u32<48>(header), kPaletteNodeSize, kMaxPalettes);
        if (!palettes.ok())
            return palettes.error();
        if (auto read = read_palettes(u32<44>(header), palettes.value()); !read.ok())
            return read.error();
        auto sprites = table(u32<36>(header), u32<40>(header), kSpriteNodeSize, kMaxSprites);
        if (!sprites.ok())
            return sprites.error();
        return read_sprites(u32<36>(header), sprites.value());
    }

  private:
    Expected<std::vector<std::uint8_t>, SpriteFault> table(std::uint64_t offset,
                                                           std::uint64_t count,
                                                           std::size_t node_size,
                                                           std::uint32_t limit) {
        if (count > limit)
            return archive_fault(K::CountTooLarge, offset);
        if (!range_fits(offset, count * node_size, size_))
            return archive_fault(range_fault(offset, size_), offset);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count * node_size));
        if (!source_.read(offset, bytes))
            return unreadable_fault();
        return bytes;
    }

    Status<SpriteFault> read_palettes(std::uint64_t table_at,
                                      const std::vector<std::uint8_t>& table) {
        const std::size_t count = table.size() / kPaletteNodeSize;
        std::vector<std::optional<std::uint32_t>> links(count);
        std::vector<SpriteKey> keys(count);
        palettes_.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            const auto node = node_at<kPaletteNodeSize>(table, i);
            keys[i] = {u16<0>(node), u16<2>(node)};
            const std::uint32_t colours = u16<4>(node);
            const std::uint32_t offset = u32<8>(node);
            const std::uint32_t length = u32<12>(node);
            const std::uint64_t node_at = table_at + i * kPaletteNodeSize;
            if (length == 0) {
                links[i] = u16<6>(node);
                continue;
            }
            if (colours > kMaxPaletteColours || length < colours * 4u)
                return palette_fault(K::BadPalette, keys[i], node_at);
            if (!range_fits(offset, length, literal_.length))
                return palette_fault(range_fault(offset, literal_.length), keys[i], node_at);
            palettes_[i] = {literal_.offset + offset, colours, 4};
        }
        const auto holders = resolve_links(links);
        if (!holders.ok()) {
            const std::uint32_t at = holders.error().record;
            return palette_fault(holders.error().loop ? K::LinkLoop : K::LinkToNowhere, keys[at],
                                 table_at + at * kPaletteNodeSize);
        }
        for (std::size_t i = 0; i < count; ++i)
            palettes_[i] = palettes_[holders.value()[i]];
        return Success{};
    }

    Expected<std::vector<IndexEntry>, SpriteFault> read_sprites(
        std::uint64_t table_at, const std::vector<std::uint8_t>& table) {
        const std::size_t count = table.size() / kSpriteNodeSize;
        std::vector<IndexEntry> entries(count);
        std::vector<std::optional<std::uint32_t>> links(count);
        std::vector<std::uint16_t> palette_of(count);
        for (std::size_t i = 0; i < count; ++i) {
            const auto node = node_at<kSpriteNodeSize>(table, i);
            SpriteInfo& info = entries[i].info;
            info = {{u16<0>(node), u16<2>(node)},
                    u16<4>(node),
                    u16<6>(node),
                    i16<8>(node),
                    i16<10>(node)};
            palette_of[i] = u16<24>(node);
            const std::uint32_t offset = u32<16>(node);
            const std::uint32_t length = u32<20>(node);
            if (length == 0) {
                links[i] = u16<12>(node);
                continue;
            }
            const Block& block = (u16<26>(node) & 1) != 0 ? translated_ : literal_;
            if (!range_fits(offset, length, block.length))
                return sprite_fault(range_fault(offset, block.length), info.key,
                                    table_at + i * kSpriteNodeSize);
            entries[i].pixels = {encoding_of(u8<14>(node)), block.offset + offset, length};
        }
        const auto holders = resolve_links(links);
        if (!holders.ok()) {
            const std::uint32_t at = holders.error().record;
            return sprite_fault(holders.error().loop ? K::LinkLoop : K::LinkToNowhere,
                                entries[at].info.key, table_at + at * kSpriteNodeSize);
        }
        // A linked sprite takes the pixels and the size of the sprite it links to, and keeps
        // its own axis and palette.
        for (std::size_t i = 0; i < count; ++i) {
            const IndexEntry& holder = entries[holders.value()[i]];
            entries[i].pixels = holder.pixels;
            entries[i].info.width = holder.info.width;
            entries[i].info.height = holder.info.height;
            if (!is_indexed(entries[i].pixels.encoding))
                continue;
            if (palette_of[i] >= palettes_.size())
                return sprite_fault(K::BadPalette, entries[i].info.key,
                                    table_at + i * kSpriteNodeSize);
            entries[i].palette = palettes_[palette_of[i]];
        }
        return entries;
    }

    ByteSource& source_;
    const std::uint64_t size_;
    Block literal_;
    Block translated_;
    std::vector<PaletteBytes> palettes_;
};

}  // namespace

Expected<std::vector<IndexEntry>, SpriteFault> read_index_v2(ByteSource& source) {
    return ReaderV2(source).read();
}

}  // namespace tavrix
