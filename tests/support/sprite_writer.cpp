#include "support/sprite_writer.h"

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string_view>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace tavrix::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(Bytes& out, std::size_t at, std::uint32_t value) {
    put16(out, at, value);
    put16(out, at + 2, value >> 16);
}

Bytes header(std::size_t size, std::uint8_t version) {
    Bytes out(size);
    constexpr std::string_view kSignature("ElecbyteSpr\0", 12);
    std::copy(kSignature.begin(), kSignature.end(), out.begin());
    out[13] = 1;
    out[15] = version;
    return out;
}

std::size_t equal_run(const Bytes& pixels, std::size_t at, std::size_t end, std::size_t most) {
    std::size_t run = 1;
    while (at + run < end && run < most && pixels[at + run] == pixels[at])
        ++run;
    return run;
}

// PCX and RLE8 alike: a marked count byte before a run, or before a lone pixel that would
// read as a count.
void encode_runs(const Bytes& pixels, std::size_t begin, std::size_t end, std::uint8_t marker,
                 std::uint8_t mask, Bytes& out) {
    for (std::size_t at = begin; at < end;) {
        const std::size_t run = equal_run(pixels, at, end, 63);
        if (run > 1 || (pixels[at] & mask) == marker)
            out.push_back(static_cast<std::uint8_t>(marker | run));
        out.push_back(pixels[at]);
        at += run;
    }
}

Bytes encode_pcx(const SpriteDraft& sprite, bool runs) {
    const std::size_t line =
        sprite.bytes_per_line ? sprite.bytes_per_line : (sprite.width + 1) / 2 * 2;
    Bytes out;
    for (std::size_t y = 0; y < sprite.height; ++y) {
        Bytes padded(line, 0);
        std::copy_n(sprite.pixels.begin() + y * sprite.width, sprite.width, padded.begin());
        if (runs)
            encode_runs(padded, 0, line, 0xC0, 0xC0, out);
        else
            out.insert(out.end(), padded.begin(), padded.end());
    }
    return out;
}

// A long run of any colour, then short runs of 5-bit colours.
Bytes encode_rle5(const Bytes& pixels) {
    Bytes out;
    for (std::size_t at = 0; at < pixels.size();) {
        const std::uint8_t colour = pixels[at];
        const std::size_t run = equal_run(pixels, at, pixels.size(), 256);
        at += run;
        Bytes short_runs;
        while (at < pixels.size() && pixels[at] < 32 && short_runs.size() < 127) {
            const std::size_t length = equal_run(pixels, at, pixels.size(), 8);
            short_runs.push_back(static_cast<std::uint8_t>((length - 1) << 5 | pixels[at]));
            at += length;
        }
        out.push_back(static_cast<std::uint8_t>(run - 1));
        out.push_back(static_cast<std::uint8_t>(short_runs.size() | (colour != 0 ? 0x80 : 0)));
        if (colour != 0)
            out.push_back(colour);
        out.insert(out.end(), short_runs.begin(), short_runs.end());
    }
    return out;
}

struct Lz5Packet {
    bool copy = false;
    std::size_t count = 0;
    std::size_t distance = 0;  // copies
    std::uint8_t colour = 0;   // runs
    bool is_short() const { return copy && distance <= 256 && count <= 64; }
};

// Greedy: the longest copy within reach, else a run (LZ5 colours have 5 bits).
std::vector<Lz5Packet> plan_lz5(const Bytes& pixels) {
    std::vector<Lz5Packet> packets;
    for (std::size_t at = 0; at < pixels.size();) {
        std::size_t best = 0;
        std::size_t distance = 0;
        for (std::size_t back = 1; back <= std::min<std::size_t>(at, 1024); ++back) {
            std::size_t length = 0;
            while (at + length < pixels.size() && length < 258 &&
                   pixels[at + length] == pixels[at + length - back])
                ++length;
            if (length > best)
                best = length, distance = back;
        }
        Lz5Packet packet;
        if (best >= 3 || (best == 2 && distance <= 256)) {
            packet = {true, best, distance};
        } else {
            const std::size_t run = equal_run(pixels, at, pixels.size(), 263);
            if (pixels[at] >= 32)
                std::abort();
            packet = {false, run >= 8 ? run : std::min<std::size_t>(run, 7), 0, pixels[at]};
        }
        packets.push_back(packet);
        at += packet.count;
    }
    return packets;
}

Bytes encode_lz5(const Bytes& pixels) {
    const std::vector<Lz5Packet> packets = plan_lz5(pixels);
    // Each fourth short copy's distance travels in the top bits of its group's first bytes.
    std::vector<std::size_t> shorts;
    for (std::size_t i = 0; i < packets.size(); ++i) {
        if (packets[i].is_short())
            shorts.push_back(i);
    }
    std::vector<int> place(packets.size(), -1);
    std::vector<std::size_t> recycled(packets.size(), 0);
    for (std::size_t k = 0; k < shorts.size(); ++k) {
        place[shorts[k]] = static_cast<int>(k % 4);
        const std::size_t fourth = k / 4 * 4 + 3;
        recycled[shorts[k]] = fourth < shorts.size() ? packets[shorts[fourth]].distance - 1 : 0;
    }
    Bytes out;
    for (std::size_t i = 0; i < packets.size(); ++i) {
        if (i % 8 == 0) {
            std::uint8_t control = 0;
            for (std::size_t j = i; j < std::min(i + 8, packets.size()); ++j)
                control |= static_cast<std::uint8_t>(packets[j].copy << (j - i));
            out.push_back(control);
        }
        const Lz5Packet& p = packets[i];
        const auto byte = [&out](std::size_t value) {
            out.push_back(static_cast<std::uint8_t>(value));
        };
        if (!p.copy && p.count >= 8) {
            byte(p.colour), byte(p.count - 8);
        } else if (!p.copy) {
            byte(p.count << 5 | p.colour);
        } else if (place[i] < 0) {
            byte((p.distance - 1) >> 8 << 6), byte(p.distance - 1), byte(p.count - 3);
        } else {
            byte(((recycled[i] >> (6 - 2 * place[i])) & 3) << 6 | (p.count - 1));
            if (place[i] < 3)
                byte(p.distance - 1);
        }
    }
    return out;
}

std::uint32_t crc32(const std::uint8_t* bytes, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = crc >> 1 ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

void put_big(Bytes& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// stb_image_write writes no indexed PNG: a grey one has the same pixel bytes, and becomes
// indexed with its colour type changed and a palette chunk (here a made-up one, which the
// sprite's palette must override) after its header.
Bytes encode_png(const SpriteDraft& sprite) {
    const int channels = sprite.coding == Coding::PngRgba  ? 4
                         : sprite.coding == Coding::PngRgb ? 3
                                                           : 1;
    Bytes png;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* bytes = static_cast<std::uint8_t*>(data);
            static_cast<Bytes*>(context)->insert(static_cast<Bytes*>(context)->end(), bytes,
                                                 bytes + size);
        },
        &png, sprite.width, sprite.height, channels, sprite.pixels.data(), sprite.width * channels);
    if (channels != 1)
        return png;
    png[25] = 3;
    put_big(png, 29, crc32(&png[12], 17));
    Bytes chunk(12 + 768);
    put_big(chunk, 0, 768);
    std::copy_n("PLTE", 4, chunk.begin() + 4);
    for (std::size_t i = 0; i < 768; ++i)
        chunk[8 + i] = static_cast<std::uint8_t>(255 - i / 3);
    put_big(chunk, 776, crc32(&chunk[4], 772));
    png.insert(png.begin() + 33, chunk.begin(), chunk.end());
    return png;
}

Bytes palette_bytes(const PaletteDraft& palette, std::size_t colours, std::size_t stride) {
    Bytes out(colours * stride);
    for (std::size_t i = 0; i < palette.colours.size() && i < colours; ++i)
        std::copy(palette.colours[i].begin(), palette.colours[i].end(), out.begin() + i * stride);
    return out;
}

Bytes write_v1(const ArchiveDraft& archive) {
    Bytes out = header(512, 1);
    put32(out, 20, static_cast<std::uint32_t>(archive.sprites.size()));
    put32(out, 24, 512);
    put32(out, 28, 32);
    out[32] = archive.shared_palette ? 1 : 0;
    for (std::size_t i = 0; i < archive.sprites.size(); ++i) {
        const SpriteDraft& sprite = archive.sprites[i];
        Bytes data;
        if (!sprite.link) {
            data.assign(128, 0);
            data[0] = 10, data[1] = 5, data[2] = sprite.coding == Coding::PcxPlain ? 0 : 1,
            data[3] = 8;
            put16(data, 8, sprite.width - 1u);
            put16(data, 10, sprite.height - 1u);
            data[65] = 1;
            put16(data, 66,
                  sprite.bytes_per_line ? sprite.bytes_per_line : (sprite.width + 1) / 2 * 2);
            const Bytes runs = coded_pixels(sprite);
            data.insert(data.end(), runs.begin(), runs.end());
            if (!sprite.same_palette) {
                const Bytes colours = palette_bytes(archive.palettes.at(sprite.palette), 256, 3);
                data.insert(data.end(), colours.begin(), colours.end());
            }
        }
        const std::size_t at = out.size();
        out.resize(at + 32);
        const bool last = i + 1 == archive.sprites.size();
        put32(out, at, last ? 0 : static_cast<std::uint32_t>(at + 32 + data.size()));
        put32(out, at + 4, static_cast<std::uint32_t>(data.size()));
        put16(out, at + 8, static_cast<std::uint16_t>(sprite.axis_x));
        put16(out, at + 10, static_cast<std::uint16_t>(sprite.axis_y));
        put16(out, at + 12, sprite.key.group);
        put16(out, at + 14, sprite.key.number);
        put16(out, at + 16, sprite.link.value_or(0));
        out[at + 18] = sprite.same_palette ? 1 : 0;
        out.insert(out.end(), data.begin(), data.end());
    }
    return out;
}

std::uint8_t format_of(Coding coding) {
    static constexpr std::array<std::uint8_t, 9> kFormats = {0, 0, 0, 2, 3, 4, 10, 11, 12};
    return kFormats[static_cast<std::size_t>(coding)];
}

Bytes write_v2(const ArchiveDraft& archive) {
    const std::size_t sprites = archive.sprites.size();
    const std::size_t palettes = archive.palettes.size();
    Bytes out = header(512 + sprites * 28 + palettes * 16, 2);
    Bytes literal;
    Bytes translated;
    for (std::size_t i = 0; i < palettes; ++i) {
        const PaletteDraft& palette = archive.palettes[i];
        const std::size_t at = 512 + sprites * 28 + i * 16;
        const Bytes colours = palette_bytes(palette, palette.colours.size(), 4);
        put16(out, at, palette.key.group);
        put16(out, at + 2, palette.key.number);
        put16(out, at + 4, static_cast<std::uint32_t>(palette.colours.size()));
        put16(out, at + 6, palette.link.value_or(0));
        put32(out, at + 8, static_cast<std::uint32_t>(literal.size()));
        put32(out, at + 12, palette.link ? 0 : static_cast<std::uint32_t>(colours.size()));
        if (!palette.link)
            literal.insert(literal.end(), colours.begin(), colours.end());
    }
    for (std::size_t i = 0; i < sprites; ++i) {
        const SpriteDraft& sprite = archive.sprites[i];
        const std::size_t at = 512 + i * 28;
        Bytes data;
        if (!sprite.link) {
            if (sprite.coding != Coding::Raw) {
                data.resize(4);
                put32(data, 0, sprite.width * sprite.height * 1u);
            }
            const Bytes coded = coded_pixels(sprite);
            data.insert(data.end(), coded.begin(), coded.end());
        }
        Bytes& block = sprite.translated ? translated : literal;
        put16(out, at, sprite.key.group);
        put16(out, at + 2, sprite.key.number);
        put16(out, at + 4, sprite.width);
        put16(out, at + 6, sprite.height);
        put16(out, at + 8, static_cast<std::uint16_t>(sprite.axis_x));
        put16(out, at + 10, static_cast<std::uint16_t>(sprite.axis_y));
        put16(out, at + 12, sprite.link.value_or(0));
        out[at + 14] = format_of(sprite.coding);
        out[at + 15] = sprite.coding == Coding::PngRgb    ? 24
                       : sprite.coding == Coding::PngRgba ? 32
                                                          : 8;
        put32(out, at + 16, static_cast<std::uint32_t>(block.size()));
        put32(out, at + 20, static_cast<std::uint32_t>(data.size()));
        put16(out, at + 24, sprite.palette);
        put16(out, at + 26, sprite.translated ? 1 : 0);
        block.insert(block.end(), data.begin(), data.end());
    }
    put32(out, 36, 512);
    put32(out, 40, static_cast<std::uint32_t>(sprites));
    put32(out, 44, static_cast<std::uint32_t>(512 + sprites * 28));
    put32(out, 48, static_cast<std::uint32_t>(palettes));
    put32(out, 52, static_cast<std::uint32_t>(out.size()));
    put32(out, 56, static_cast<std::uint32_t>(literal.size()));
    put32(out, 60, static_cast<std::uint32_t>(out.size() + literal.size()));
    put32(out, 64, static_cast<std::uint32_t>(translated.size()));
    out.insert(out.end(), literal.begin(), literal.end());
    out.insert(out.end(), translated.begin(), translated.end());
    return out;
}

}  // namespace

Bytes coded_pixels(const SpriteDraft& sprite) {
    switch (sprite.coding) {
        case Coding::Pcx:
        case Coding::PcxPlain:
            return encode_pcx(sprite, sprite.coding == Coding::Pcx);
        case Coding::Raw:
            return sprite.pixels;
        case Coding::Rle8: {
            Bytes out;
            encode_runs(sprite.pixels, 0, sprite.pixels.size(), 0x40, 0xC0, out);
            return out;
        }
        case Coding::Rle5:
            return encode_rle5(sprite.pixels);
        case Coding::Lz5:
            return encode_lz5(sprite.pixels);
        default:
            return encode_png(sprite);
    }
}

Bytes write_archive(const ArchiveDraft& archive) {
    return archive.version == 1 ? write_v1(archive) : write_v2(archive);
}

Picture expected_picture(const SpriteDraft& sprite, const SpriteDraft& holder,
                         const PaletteDraft& palette) {
    Picture picture{holder.width, holder.height, sprite.axis_x, sprite.axis_y, {}};
    const std::size_t count = std::size_t{holder.width} * holder.height;
    for (std::size_t i = 0; i < count; ++i) {
        if (holder.coding == Coding::PngRgba) {
            picture.rgba.insert(picture.rgba.end(), &holder.pixels[i * 4],
                                &holder.pixels[i * 4 + 4]);
        } else if (holder.coding == Coding::PngRgb) {
            picture.rgba.insert(picture.rgba.end(), &holder.pixels[i * 3],
                                &holder.pixels[i * 3 + 3]);
            picture.rgba.push_back(255);
        } else {
            const std::uint8_t index = holder.pixels[i];
            const Colour colour =
                index < palette.colours.size() ? palette.colours[index] : Colour{};
            picture.rgba.insert(picture.rgba.end(), colour.begin(), colour.end());
            picture.rgba.push_back(index == 0 ? 0 : 255);
        }
    }
    return picture;
}

namespace {

// Rows of long runs, noise, a copy of a row far above and a short repeating pattern, so
// that every packet kind of every coding is needed.
Bytes busy_pixels(std::uint16_t width, std::uint16_t height, int colours) {
    std::mt19937 random(width * 131u + height);
    Bytes pixels;
    for (int y = 0; y < height; ++y) {
        const int kind = y % 4;
        for (int x = 0; x < width; ++x) {
            if (kind == 2 && y >= 6)
                pixels.push_back(pixels[pixels.size() - 6u * width]);
            else if (kind == 3)
                pixels.push_back(static_cast<std::uint8_t>(1 + x % (1 + y % 3)));
            else if (kind == 0 && x % 12 != 0)
                pixels.push_back(pixels.back());
            else
                pixels.push_back(static_cast<std::uint8_t>(random() % colours));
        }
    }
    return pixels;
}

SpriteDraft sprite(SpriteKey key, Coding coding, std::uint16_t width = 48,
                   std::uint16_t height = 20) {
    const int channels = coding == Coding::PngRgba ? 4 : coding == Coding::PngRgb ? 3 : 1;
    const int colours = coding == Coding::Lz5 ? 32 : 256;
    SpriteDraft draft;
    draft.key = key, draft.width = width, draft.height = height, draft.coding = coding;
    draft.axis_x = static_cast<std::int16_t>(key.number - 3), draft.axis_y = 7;
    for (int copy = 0; copy < channels; ++copy) {
        const Bytes plane = busy_pixels(width, static_cast<std::uint16_t>(height + copy), colours);
        draft.pixels.insert(draft.pixels.end(), plane.begin(), plane.begin() + width * height);
    }
    if (coding == Coding::Rle5)  // a first packet of colour 0, which needs no colour byte
        std::fill_n(draft.pixels.begin(), 5, 0);
    return draft;
}

PaletteDraft palette(SpriteKey key, std::size_t colours, int seed) {
    PaletteDraft draft{key, {}, {}};
    for (std::size_t i = 0; i < colours; ++i)
        draft.colours.push_back({static_cast<std::uint8_t>(i * seed),
                                 static_cast<std::uint8_t>(i + seed),
                                 static_cast<std::uint8_t>(255 - i)});
    return draft;
}

SpriteDraft linked(SpriteKey key, std::uint16_t to) {
    SpriteDraft draft;
    draft.key = key, draft.axis_x = -5;
    draft.link = to;
    return draft;
}

// Own palettes, the previous sprite's palette, plain PCX, a line longer than the width,
// linked sprites taking their target's palette or the previous one.
}  // namespace

ArchiveDraft busy_version1(bool shared) {
    ArchiveDraft archive{1, shared, {}, {palette({}, 256, 3), palette({}, 256, 7)}};
    archive.sprites.push_back(sprite({0, 0}, Coding::Pcx, 9, 5));
    archive.sprites.push_back(sprite({0, 1}, Coding::Pcx, 20, 6));
    archive.sprites.back().same_palette = true;
    archive.sprites.push_back(sprite({0, 2}, Coding::PcxPlain, 7, 4));
    archive.sprites.back().palette = 1;
    archive.sprites.back().bytes_per_line = 12;
    archive.sprites.push_back(sprite({0, 3}, Coding::Pcx, 31, 9));
    archive.sprites.back().same_palette = true;
    archive.sprites.push_back(linked({0, 4}, 0));
    archive.sprites.push_back(linked({0, 5}, 2));
    archive.sprites.back().same_palette = true;
    return archive;
}

// Every format, a palette of fewer colours, a linked palette, the translated block, and a
// linked sprite with a palette of its own.
ArchiveDraft busy_version2(std::uint16_t width, std::uint16_t height) {
    ArchiveDraft archive{2, false, {}, {palette({1, 0}, 256, 3), palette({1, 1}, 16, 5)}};
    archive.palettes.push_back({{1, 2}, {}, 1});
    const Coding codings[] = {Coding::Raw,        Coding::Rle8,   Coding::Rle5,   Coding::Lz5,
                              Coding::PngIndexed, Coding::PngRgb, Coding::PngRgba};
    for (const Coding coding : codings)
        archive.sprites.push_back(
            sprite({0, static_cast<std::uint16_t>(archive.sprites.size())}, coding, width, height));
    archive.sprites[2].palette = 2;
    archive.sprites[3].translated = true;
    archive.sprites.push_back(linked({0, 7}, 3));
    archive.sprites.back().palette = 2;
    return archive;
}

}  // namespace tavrix::testing
