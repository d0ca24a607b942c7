// Writes examples/intro.sff, the sprite archive of the example intro, with the tests' own
// archive writer: a ball that bounces along the ground. Images 0 to 39 of group 0 are one
// bounce, a frame for each point that the ball moves to the right; images 40 to 279 are
// linked sprites that reuse them, so that the action "image 0 to 279, X 20 to 299" of
// examples/intro.tvs bounces seven times across the stage. Each sprite's axis is the point
// on the ground under the ball, and under it lies a strip of ground nearly as wide as two stages
// whose rows are each of one colour, so that it seems to stand still while the ball moves.
//   tavrix_example_sprites FOLDER
#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>

#include "support/sprite_writer.h"

namespace {

using namespace tavrix::testing;

constexpr int kWidth = 600;      // the ground covers the stage wherever the ball is
constexpr int kGround = 96;      // the axis's row, the ground's top
constexpr int kGroundRows = 40;  // down to the stage's bottom edge
constexpr int kHeight = kGround + kGroundRows;
constexpr int kBounce = 40;  // frames, and points to the right, of one bounce
constexpr int kImages = 280;
constexpr double kRadius = 13.0;
constexpr double kHighest = 62.0;            // the ball's lowest point at the top of a bounce
constexpr int kShades = 240;                 // palette entries 1 to 240, dark to the highlight
constexpr std::uint8_t kGroundShades = 241;  // to 249, from the ground's top edge down
constexpr std::uint8_t kShadow = 250;

double mix(double from, double to, double part) {
    return from + (to - from) * part;
}

// The ball's colours from its dark side through its own orange to a white highlight, the
// ground's from its lit edge down into the dark, and the shadow's.
PaletteDraft palette() {
    PaletteDraft draft{{0, 0}, std::vector<Colour>(256), std::nullopt};
    constexpr double kDark[] = {70, 18, 12}, kOwn[] = {235, 105, 35}, kLight[] = {255, 245, 225};
    for (int shade = 0; shade < kShades; ++shade) {
        const double part = shade / (kShades - 1.0);
        for (int c = 0; c < 3; ++c) {
            const double value = part < 0.8 ? mix(kDark[c], kOwn[c], part / 0.8)
                                            : mix(kOwn[c], kLight[c], (part - 0.8) / 0.2);
            draft.colours[1 + shade][c] = static_cast<std::uint8_t>(std::lround(value));
        }
    }
    draft.colours[kGroundShades] = {104, 122, 96};
    for (int row = 1; row < 9; ++row) {
        const auto level = static_cast<std::uint8_t>(58 - 4 * row);
        draft.colours[kGroundShades + row] = {static_cast<std::uint8_t>(level - 10), level,
                                              static_cast<std::uint8_t>(level - 6)};
    }
    draft.colours[kShadow] = {12, 16, 14};
    return draft;
}

// The light falls from the upper left, towards the viewer.
std::uint8_t shade_at(double u, double v) {
    const double w = std::sqrt(std::max(0.0, 1.0 - u * u - v * v));
    const double light = std::max(0.0, -0.45 * u - 0.55 * v + 0.70 * w);
    // The highlight to the 40th power, by products alone, so that every system writes the
    // same bytes.
    const double s1 = std::max(0.0, -0.25 * u - 0.3 * v + 0.92 * w), s2 = s1 * s1, s4 = s2 * s2;
    const double s8 = s4 * s4, shine = s8 * s8 * s8 * s8 * s8;
    const double level = std::min(1.0, 0.12 + 0.78 * light + 0.6 * shine);
    return static_cast<std::uint8_t>(1 + std::lround(level * (kShades - 1)));
}

// Frame `image` of a bounce: the height a parabola, the ball squashed where it meets the
// ground, its shadow smaller the higher it is.
SpriteDraft ball(std::uint16_t image) {
    const double t = (image + 0.5) / kBounce;
    const double height = 4 * kHighest * t * (1 - t);
    const double squash = std::max(0.0, 0.22 * (1 - height / 6));
    const double rx = kRadius * (1 + squash), ry = kRadius * (1 - squash);
    const double cx = kWidth / 2.0, cy = kGround - height - ry;
    const double shadow = 15 * (1 - 0.55 * height / kHighest);
    SpriteDraft draft;
    draft.key = {0, image};
    draft.width = kWidth, draft.height = kHeight;
    draft.axis_x = kWidth / 2, draft.axis_y = kGround;
    draft.coding = Coding::Rle8;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
            const double su = (x + 0.5 - cx) / shadow, sv = (y + 0.5 - kGround - 3) / 3.0;
            const int ground_row = std::min(8, (y - kGround + 4) / 5);
            draft.pixels.push_back(u * u + v * v <= 1       ? shade_at(u, v)
                                   : su * su + sv * sv <= 1 ? kShadow
                                   : y >= kGround           ? kGroundShades + ground_row
                                                            : 0);
        }
    }
    return draft;
}

}  // namespace

int main(int argc, char** argv) {
    ArchiveDraft archive{2, false, {}, {palette()}};
    for (std::uint16_t image = 0; image < kImages; ++image) {
        if (image < kBounce) {
            archive.sprites.push_back(ball(image));
            continue;
        }
        SpriteDraft linked;
        linked.key = {0, image};
        linked.axis_x = kWidth / 2, linked.axis_y = kGround;
        linked.link = static_cast<std::uint16_t>(image % kBounce);
        archive.sprites.push_back(linked);
    }
    const std::vector<std::uint8_t> bytes = write_archive(archive);
    std::ofstream file(std::string(argc == 2 ? argv[1] : ".") + "/intro.sff", std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return file ? 0 : 1;
}
