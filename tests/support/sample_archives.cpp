// Writes the sprite archives that the preview's scenario scripts draw, with the tests' own
// archive writer: a version 1 archive of PCX sprites and a version 2 archive with one sprite
// in each of its codings. Each sprite is a figure whose stripes move with its image number.
//   tavrix_sample_archives FOLDER
#include <cstdio>
#include <fstream>
#include <string>

#include "support/sprite_writer.h"

namespace {

using namespace tavrix;
using namespace tavrix::testing;

constexpr std::uint16_t kWidth = 24;
constexpr std::uint16_t kHeight = 32;

// Black (transparent), then fifteen colours, each far from the others.
PaletteSpec palette() {
    PaletteSpec spec{{1, 0}, {{0, 0, 0}}, std::nullopt};
    for (int i = 1; i < 16; ++i) {
        spec.colours.push_back({static_cast<std::uint8_t>(i * 97 % 256),
                                static_cast<std::uint8_t>(i * 53 % 256),
                                static_cast<std::uint8_t>(255 - i * 16)});
    }
    return spec;
}

// Palette indexes: an ellipse of diagonal stripes on colour 0.
std::vector<std::uint8_t> figure(int image) {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int dx = 2 * x - kWidth + 1;
            const int dy = 2 * y - kHeight + 1;
            const bool inside = dx * dx * kHeight * kHeight + dy * dy * kWidth * kWidth <=
                                kWidth * kWidth * kHeight * kHeight;
            pixels.push_back(inside ? static_cast<std::uint8_t>(1 + (x + y + 3 * image) / 3 % 15)
                                    : 0);
        }
    }
    return pixels;
}

// The same figure in direct colours; with alpha, colour 0 is clear and colour 15 half.
std::vector<std::uint8_t> direct(const std::vector<std::uint8_t>& indexes, bool alpha) {
    const PaletteSpec colours = palette();
    std::vector<std::uint8_t> pixels;
    for (std::uint8_t index : indexes) {
        const Colour& colour = colours.colours[index];
        pixels.insert(pixels.end(), colour.begin(), colour.end());
        if (alpha)
            pixels.push_back(index == 0 ? 0 : index == 15 ? 128 : 255);
    }
    return pixels;
}

SpriteSpec sprite(std::uint16_t image, Coding coding) {
    SpriteSpec spec;
    spec.key = {0, image};
    spec.width = kWidth;
    spec.height = kHeight;
    spec.axis_x = kWidth / 2;
    spec.axis_y = kHeight;
    spec.coding = coding;
    spec.pixels = figure(image);
    if (coding == Coding::PngRgb || coding == Coding::PngRgba)
        spec.pixels = direct(spec.pixels, coding == Coding::PngRgba);
    return spec;
}

bool write(const std::string& path, const ArchiveSpec& archive) {
    const std::vector<std::uint8_t> bytes = write_archive(archive);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: tavrix_sample_archives CARPETA\n");
        return 2;
    }
    const std::string folder = argv[1];
    // Version 1: image 0 holds the palette that the others share; image 1 is not
    // run-length coded; image 4 reuses image 2's pixels.
    ArchiveSpec v1{1, true, {}, {palette()}};
    for (std::uint16_t image = 0; image < 4; ++image) {
        SpriteSpec spec = sprite(image, image == 1 ? Coding::PcxPlain : Coding::Pcx);
        spec.same_palette = image > 0;
        v1.sprites.push_back(spec);
    }
    SpriteSpec linked;
    linked.key = {0, 4};
    linked.axis_y = kHeight / 2;
    linked.link = 2;
    linked.same_palette = true;
    v1.sprites.push_back(linked);
    // Version 2: images 0 to 6 in every coding.
    ArchiveSpec v2{2, false, {}, {palette()}};
    std::uint16_t image = 0;
    for (Coding coding : {Coding::Raw, Coding::Rle8, Coding::Rle5, Coding::Lz5, Coding::PngIndexed,
                          Coding::PngRgb, Coding::PngRgba})
        v2.sprites.push_back(sprite(image++, coding));
    return write(folder + "/v1.sff", v1) && write(folder + "/v2.sff", v2) ? 0 : 1;
}
