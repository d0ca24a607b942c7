// Version 1: a 512-byte header, then a chain of 32-byte subheaders, each followed by its
// sprite's PCX image (a 128-byte header, the pixels, and its own palette unless it takes
// another sprite's).
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

constexpr std::uint64_t kHeaderSize = 512;
constexpr std::uint64_t kSubheaderSize = 32;
constexpr std::uint32_t kPcxHeaderSize = 128;
constexpr std::uint32_t kPaletteSize = 768;

// A subheader and, after it, the PCX header of its data.
using Record = std::array<std::uint8_t, kSubheaderSize + kPcxHeaderSize>;

// The pixels of a sprite with data of its own, from its PCX header; nothing when the header
// describes pixels other than 8 bits in a line at least as long as the image is wide.
std::optional<CodedPixels> pcx_pixels(const Record& record, std::uint64_t data,
                                      std::uint32_t length, bool own_palette, SpriteInfo& info) {
    const std::uint8_t encoding = u8<32 + 2>(record);
    const std::uint16_t xmin = u16<32 + 4>(record);
    const std::uint16_t ymin = u16<32 + 6>(record);
    const std::uint16_t xmax = u16<32 + 8>(record);
    const std::uint16_t ymax = u16<32 + 10>(record);
    const std::uint16_t bytes_per_line = u16<32 + 66>(record);
    if (encoding > 1 || u8<32 + 3>(record) != 8 || xmax < xmin || ymax < ymin)
        return std::nullopt;
    info.width = xmax - xmin + 1u;
    info.height = ymax - ymin + 1u;
    if (bytes_per_line < info.width)
        return std::nullopt;
    const std::uint32_t coded = length - kPcxHeaderSize - (own_palette ? kPaletteSize : 0);
    return CodedPixels{Encoding::Pcx, data + kPcxHeaderSize, coded, bytes_per_line, encoding == 1};
}

// Reads a file a few kilobytes at a time: a version 1 index is a chain of small records,
// often many within a few kilobytes, and a system call for each costs more than a copy of
// the window does.
class Window {
  public:
    explicit Window(ByteSource& source) : source_(source) {}

    // Fills `into` from `at`; the range lies within the file.
    bool read(std::uint64_t at, std::span<std::uint8_t> into) {
        if (at < start_ || at - start_ + into.size() > bytes_.size()) {
            const std::uint64_t wanted = std::max<std::uint64_t>(kSize, into.size());
            bytes_.resize(static_cast<std::size_t>(std::min(wanted, source_.size() - at)));
            start_ = at;
            if (!source_.read(at, bytes_)) {
                bytes_.clear();
                return false;
            }
        }
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at - start_), into.size(),
                    into.begin());
        return true;
    }

  private:
    static constexpr std::uint64_t kSize = 4096;
    ByteSource& source_;
    std::uint64_t start_ = 0;
    std::vector<std::uint8_t> bytes_;
};

class ReaderV1 {
  public:
    explicit ReaderV1(ByteSource& source) : window_(source), size_(source.size()) {}

    Expected<std::vector<IndexEntry>, SpriteFault> read() {
        std::array<std::uint8_t, 33> header{};
        if (!range_fits(0, kHeaderSize, size_))
            return archive_fault(K::Truncated, size_);
        if (!window_.read(0, header))
            return unreadable_fault();
        const std::uint32_t count = u32<20>(header);
        shared_palette_ = u8<32>(header) == 1;
        if (count > kMaxSprites)
            return archive_fault(K::CountTooLarge, 20);
        if (count > size_ / kSubheaderSize)
            return archive_fault(K::Truncated, size_);
        entries_.reserve(count);
        std::uint64_t at = u32<24>(header);
        for (std::uint32_t i = 0; i < count; ++i) {
            if (i > 0 && at == 0)  // the chain ends before the count
                return archive_fault(K::Truncated, where_.back());
            auto next = read_sprite(at);
            if (!next.ok())
                return next.error();
            at = next.value();
        }
        if (auto linked = resolve(); !linked.ok())
            return linked.error();
        return std::move(entries_);
    }

  private:
    // Reads the subheader at `at` into the index; gives the offset of the next.
    Expected<std::uint64_t, SpriteFault> read_sprite(std::uint64_t at) {
        if (!range_fits(at, kSubheaderSize, size_))
            return archive_fault(range_fault(at, size_), at);
        Record record{};
        if (!window_.read(
                at, std::span(record).first(std::min<std::uint64_t>(record.size(), size_ - at))))
            return unreadable_fault();
        IndexEntry entry;
        entry.info.key = {u16<12>(record), u16<14>(record)};
        entry.info.axis_x = i16<8>(record);
        entry.info.axis_y = i16<10>(record);
        const std::uint32_t length = u32<4>(record);
        const bool same_palette = u8<18>(record) == 1;
        const auto index = static_cast<std::uint32_t>(entries_.size());
        const std::uint64_t data = at + kSubheaderSize;
        const SpriteKey key = entry.info.key;
        if (length == 0) {
            links_.emplace_back(u16<16>(record));
        } else {
            if (!range_fits(data, length, size_))
                return sprite_fault(range_fault(data, size_), key, data);
            const std::uint32_t needed = kPcxHeaderSize + (same_palette ? 0 : kPaletteSize);
            if (length < needed)
                return sprite_fault(same_palette ? K::BadPixelData : K::BadPalette, key, data);
            const auto pixels = pcx_pixels(record, data, length, !same_palette, entry.info);
            if (!pixels)
                return sprite_fault(K::BadPixelData, key, data);
            entry.pixels = *pixels;
            if (!same_palette)
                entry.palette = {data + length - kPaletteSize, 256, 3};
            links_.emplace_back(std::nullopt);
        }
        if (same_palette && index == 0)
            return sprite_fault(K::BadPalette, key, at);
        // The palette of a sprite that holds none: the shared one (the first sprite's), the
        // previous sprite's, or, for a linked sprite, that of the sprite it links to.
        if (same_palette)
            palette_links_.emplace_back(shared_palette_ ? 0 : index - 1);
        else
            palette_links_.push_back(length == 0 ? links_.back() : std::nullopt);
        entries_.push_back(entry);
        where_.push_back(at);
        return static_cast<std::uint64_t>(u32<0>(record));
    }

    SpriteFault link_fault(const LinkFailure& failure) const {
        return sprite_fault(failure.loop ? K::LinkLoop : K::LinkToNowhere,
                            entries_[failure.record].info.key, where_[failure.record]);
    }

    Status<SpriteFault> resolve() {
        const auto pixels = resolve_links(links_);
        if (!pixels.ok())
            return link_fault(pixels.error());
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            const IndexEntry& holder = entries_[pixels.value()[i]];
            entries_[i].pixels = holder.pixels;
            entries_[i].info.width = holder.info.width;
            entries_[i].info.height = holder.info.height;
        }
        const auto palettes = resolve_links(palette_links_);
        if (!palettes.ok())
            return link_fault(palettes.error());
        for (std::size_t i = 0; i < entries_.size(); ++i)
            entries_[i].palette = entries_[palettes.value()[i]].palette;
        return Success{};
    }

    Window window_;
    const std::uint64_t size_;
    bool shared_palette_ = false;
    std::vector<IndexEntry> entries_;
    std::vector<std::uint64_t> where_;  // each sprite's subheader
    std::vector<std::optional<std::uint32_t>> links_;
    std::vector<std::optional<std::uint32_t>> palette_links_;
};

}  // namespace

Expected<std::vector<IndexEntry>, SpriteFault> read_index_v1(ByteSource& source) {
    return ReaderV1(source).read();
}

}  // namespace tavrix
