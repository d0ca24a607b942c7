// Writes sprite archives with the tests' own archive writer. Each sprite is an ellipse of
// stripes that move with the image number, its axis at its feet.
//   tavrix_sample_archives FOLDER: the archives that the preview's scenario scripts draw,
//     version 1 of PCX sprites sharing one palette (image 1 not run-length coded, image 4
//     linked to image 2's pixels), and version 2 with images 0 to 6 in every coding;
//   tavrix_sample_archives --seeds FOLDER: the fuzz target's seeds, the busy archives of the
//     reader's tests with small sprites.
#include <fstream>
#include <string>
#include <string_view>

#include "support/sprite_writer.h"

namespace {

using namespace tavrix::testing;
using tavrix::SpriteKey;

Colour colour(int index) {
    return {static_cast<std::uint8_t>(index * 97 % 256),
            static_cast<std::uint8_t>(index * 53 % 256),
            static_cast<std::uint8_t>(index == 0 ? 0 : 255 - index * 16)};
}

PaletteDraft palette(SpriteKey key) {
    PaletteDraft draft{key, {}, std::nullopt};
    for (int index = 0; index < 16; ++index)
        draft.colours.push_back(colour(index));
    return draft;
}

// Palette indexes, or with `channels` 3 or 4 their colours (with alpha, 0 for colour 0 and
// half for colour 15).
std::vector<std::uint8_t> figure(int image, int channels, int width, int height) {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int dx = (2 * x - width + 1) * height, dy = (2 * y - height + 1) * width;
            const int index = dx * dx + dy * dy <= width * width * height * height
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

SpriteDraft sprite(std::uint16_t image, Coding coding, std::uint16_t width = 24,
                   std::uint16_t height = 32) {
    SpriteDraft draft;
    draft.key = {0, image};
    draft.width = width;
    draft.height = height;
    draft.axis_x = static_cast<std::int16_t>(width / 2);
    draft.axis_y = static_cast<std::int16_t>(height);
    draft.coding = coding;
    const int channels = coding == Coding::PngRgba ? 4 : coding == Coding::PngRgb ? 3 : 1;
    draft.pixels = figure(image, channels, width, height);
    draft.same_palette = image > 0;
    return draft;
}

constexpr Coding kVersion2Codings[] = {Coding::Raw,    Coding::Rle8,       Coding::Rle5,
                                       Coding::Lz5,    Coding::PngIndexed, Coding::PngRgb,
                                       Coding::PngRgba};

bool write(const std::string& path, const ArchiveDraft& archive) {
    const std::vector<std::uint8_t> bytes = write_archive(archive);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

bool write_scenario_archives(const std::string& folder) {
    ArchiveDraft v1{1, true, {}, {palette({1, 0})}}, v2{2, false, {}, {palette({1, 0})}};
    for (std::uint16_t image = 0; image < 4; ++image)
        v1.sprites.push_back(sprite(image, image == 1 ? Coding::PcxPlain : Coding::Pcx));
    v1.sprites.push_back(sprite(4, Coding::Pcx));
    v1.sprites.back().link = 2;
    v1.sprites.back().axis_y = 16;
    std::uint16_t image = 0;
    for (Coding coding : kVersion2Codings)
        v2.sprites.push_back(sprite(image++, coding));
    return write(folder + "/v1.sff", v1) && write(folder + "/v2.sff", v2);
}

// Sprites of a few pixels, so that the fuzzer's mutations fall on the index as often as on
// the pixels.
bool write_seeds(const std::string& folder) {
    return write(folder + "/v1-shared.sff", busy_version1(true)) &&
           write(folder + "/v1-own.sff", busy_version1(false)) &&
           write(folder + "/v2.sff", busy_version2(6, 5));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--seeds")
        return write_seeds(argv[2]) ? 0 : 1;
    return write_scenario_archives(argc == 2 ? argv[1] : ".") ? 0 : 1;
}
