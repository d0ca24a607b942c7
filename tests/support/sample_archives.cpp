// Writes the sprite archives that the preview's scenario scripts draw, with the tests' own
// archive writer: version 1 of PCX sprites sharing one palette (image 1 not run-length
// coded, image 4 linked to image 2's pixels), and version 2 with images 0 to 6 in every
// coding. Each is an ellipse of stripes that move with the image number, its axis at its
// feet.   tavrix_sample_archives FOLDER
#include <fstream>
#include <string>

#include "support/sprite_writer.h"

namespace {

using namespace tavrix::testing;

constexpr int kWidth = 24;
constexpr int kHeight = 32;

Colour colour(int index) {
    return {static_cast<std::uint8_t>(index * 97 % 256),
            static_cast<std::uint8_t>(index * 53 % 256),
            static_cast<std::uint8_t>(index == 0 ? 0 : 255 - index * 16)};
}

// Palette indexes, or with `channels` 3 or 4 their colours (with alpha, 0 for colour 0 and
// half for colour 15).
std::vector<std::uint8_t> figure(int image, int channels) {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int dx = (2 * x - kWidth + 1) * kHeight, dy = (2 * y - kHeight + 1) * kWidth;
            const int index = dx * dx + dy * dy <= kWidth * kWidth * kHeight * kHeight
                                  ? 1 + (x + y + 3 * image) / 3 % 15
                                  : 0;
            const Colour rgb = colour(index);
            if (channels == 1)
                pixels.push_back(static_cast<std::uint8_t>(index));
            else
                pixels.insert(pixels.end(), rgb.begin(), rgb.end());
            if (channels == 4)
                pixels.push_back(index == 0 ? 0 : index == 15 ? 128 : 255);
        }
    }
    return pixels;
}

SpriteDraft sprite(std::uint16_t image, Coding coding) {
    SpriteDraft draft;
    draft.key = {0, image};
    draft.width = kWidth;
    draft.height = kHeight;
    draft.axis_x = kWidth / 2;
    draft.axis_y = kHeight;
    draft.coding = coding;
    draft.pixels = figure(image, coding == Coding::PngRgba ? 4 : coding == Coding::PngRgb ? 3 : 1);
    draft.same_palette = image > 0;
    return draft;
}

bool write(const std::string& path, const ArchiveDraft& archive) {
    const std::vector<std::uint8_t> bytes = write_archive(archive);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
    PaletteDraft palette{{1, 0}, {}, std::nullopt};
    for (int index = 0; index < 16; ++index)
        palette.colours.push_back(colour(index));
    ArchiveDraft v1{1, true, {}, {palette}}, v2{2, false, {}, {palette}};
    for (std::uint16_t image = 0; image < 4; ++image)
        v1.sprites.push_back(sprite(image, image == 1 ? Coding::PcxPlain : Coding::Pcx));
    v1.sprites.push_back(sprite(4, Coding::Pcx));
    v1.sprites.back().link = 2;
    v1.sprites.back().axis_y = kHeight / 2;
    std::uint16_t image = 0;
    for (Coding coding : {Coding::Raw, Coding::Rle8, Coding::Rle5, Coding::Lz5, Coding::PngIndexed,
                          Coding::PngRgb, Coding::PngRgba})
        v2.sprites.push_back(sprite(image++, coding));
    const std::string folder = argc == 2 ? argv[1] : ".";
    return write(folder + "/v1.sff", v1) && write(folder + "/v2.sff", v2) ? 0 : 1;
}
