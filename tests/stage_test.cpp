#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "stage/compose.h"

namespace tavrix {
namespace {

ActionFrame frame(std::int32_t time, std::uint16_t image = 0, std::int16_t x = 0,
                  std::int16_t y = 0) {
    static std::uint64_t number = 0;
    return {{0, image}, x, y, time, ++number};
}

Timeline timeline_of(const std::vector<std::int32_t>& times) {
    Timeline timeline;
    for (std::size_t i = 0; i < times.size(); ++i)
        timeline.add(frame(times[i], static_cast<std::uint16_t>(i + 1)));
    return timeline;
}

TEST(Timeline, ShowsEachFrameForItsTimeSkipsZeroHoldsNegativeAndLoops) {
    struct Row {
        std::vector<std::int32_t> times;
        std::int64_t tick;
        int image;  // the frame's place in `times`, from 1; 0: nothing shown
    };
    const Row rows[] = {
        {{3, 2}, 0, 1},     {{3, 2}, 2, 1},     {{3, 2}, 3, 2},
        {{3, 2}, 4, 2},     {{3, 2}, 5, 1},     {{3, 2}, 10, 1},
        {{3, 2}, 13, 2},    {{3, 2}, -1, 0},    {{0, 4}, 0, 2},
        {{2, 0, 1}, 2, 3},  {{0, 0}, 0, 0},     {{}, 0, 0},
        {{2, -1, 5}, 1, 1}, {{2, -1, 5}, 2, 2}, {{2, -1, 5}, 1000000, 2},
        {{-3}, 7, 1},       {{1, 1, 1}, 2, 3},  {{1, 1, 1}, 3000000000, 1},
    };
    for (const Row& row : rows) {
        const Timeline timeline = timeline_of(row.times);
        const ActionFrame* shown = timeline.at(row.tick);
        const int image = shown ? shown->sprite.number : 0;
        EXPECT_EQ(image, row.image) << "tick " << row.tick << ", " << row.times.size() << " frames";
    }
}

TEST(Timeline, AMillionFramesAreFoundAsOne) {
    Timeline timeline;
    for (std::int32_t i = 0; i < 1'000'000; ++i)
        timeline.add(frame(1 + i % 3, static_cast<std::uint16_t>(i % 60000)));
    EXPECT_EQ(timeline.cycle(), 1'999'999);
    // The frame at index 600001 starts after 200000 turns of 1 + 2 + 3 ticks and one tick.
    const ActionFrame* shown = timeline.at(1'200'001);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->sprite.number, 600'001 % 60000);
}

// A sprite archive in memory; a key it does not hold is missing.
class Sprites final : public SpriteSource {
  public:
    std::map<SpriteKey, Picture> pictures;

    std::shared_ptr<const Picture> find(SpriteKey key) override {
        const auto found = pictures.find(key);
        if (found == pictures.end())
            return nullptr;
        return {std::shared_ptr<void>(), &found->second};  // owned by the map
    }
    std::string why_missing(SpriteKey) override { return "no está"; }
};

// A picture from rows of letters: '.' transparent, 'r' red, 'g' green, 'b' blue, 'h' red at
// half alpha.
Picture picture(std::int16_t axis_x, std::int16_t axis_y, const std::vector<std::string>& rows) {
    Picture made{static_cast<std::uint16_t>(rows[0].size()),
                 static_cast<std::uint16_t>(rows.size()),
                 axis_x,
                 axis_y,
                 {}};
    const std::map<char, std::array<std::uint8_t, 4>> colours{{'.', {0, 0, 0, 0}},
                                                              {'r', {255, 0, 0, 255}},
                                                              {'g', {0, 255, 0, 255}},
                                                              {'b', {0, 0, 255, 255}},
                                                              {'h', {255, 0, 0, 128}}};
    for (const std::string& row : rows) {
        for (char c : row)
            made.rgba.insert(made.rgba.end(), colours.at(c).begin(), colours.at(c).end());
    }
    return made;
}

Rgb pixel_at(const std::vector<std::uint8_t>& image, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * kStageWidth + x) * 4;
    return {image[at], image[at + 1], image[at + 2]};
}

// The stage's pixels in a corner as letters: ' ' the clear colour (white), 'r', 'g', 'b',
// 'm' the placeholder, 'h' white under half-alpha red; '?' anything else.
std::vector<std::string> grid(const std::vector<std::uint8_t>& image, int left, int top, int width,
                              int height) {
    const std::map<std::array<int, 3>, char> letters{
        {{255, 255, 255}, ' '}, {{255, 0, 0}, 'r'},   {{0, 255, 0}, 'g'},
        {{0, 0, 255}, 'b'},     {{255, 0, 255}, 'm'}, {{255, 127, 127}, 'h'}};
    std::vector<std::string> rows;
    for (int y = top; y < top + height; ++y) {
        std::string row;
        for (int x = left; x < left + width; ++x) {
            const Rgb p = pixel_at(image, x, y);
            const auto found = letters.find({p.red, p.green, p.blue});
            row += found == letters.end() ? '?' : found->second;
        }
        rows.push_back(row);
    }
    return rows;
}

Plan plan_with(std::vector<ActionFrame> frames, std::optional<Placement> layer,
               std::optional<Placement> background = std::nullopt) {
    Plan plan;
    plan.end_time = 100;
    plan.clear = {255, 255, 255};
    for (const ActionFrame& f : frames)
        plan.action.add(f);
    plan.layer = layer;
    plan.background = background;
    return plan;
}

struct Stage {
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(kStageBytes);
    Sprites sprites;

    StageReport at(const Plan& plan, std::int64_t tick) {
        return compose(plan, tick, sprites, StagePixels(image.data(), kStageBytes));
    }
};

TEST(Compose, DrawsTheFrameWithItsAxisAtItsPlaceAndMasksColourZero) {
    Stage stage;
    stage.sprites.pictures[{0, 1}] = picture(1, 1, {"rg", ".b"});
    stage.sprites.pictures[{0, 2}] = picture(0, 0, {"hh"});
    // layerall.pos 2,1 + offset 1,1 + frame 1,0, less the axis 1,1: the corner at 3,1.
    const Plan plan = plan_with({frame(5, 1, 1, 0), frame(5, 2, 0, 1)}, Placement{3, 2, 2});
    EXPECT_EQ(stage.at(plan, 1).layer.frame, nullptr);  // before the layer's start time
    EXPECT_EQ(grid(stage.image, 0, 0, 6, 4), (std::vector<std::string>{
                                                 "      ",
                                                 "      ",
                                                 "      ",
                                                 "      ",
                                             }));
    const StageReport report = stage.at(plan, 2);
    ASSERT_NE(report.layer.frame, nullptr);
    EXPECT_FALSE(report.layer.placeholder);
    EXPECT_EQ(grid(stage.image, 0, 0, 6, 4), (std::vector<std::string>{
                                                 "      ",
                                                 "   rg ",
                                                 "    b ",
                                                 "      ",
                                             }));
    stage.at(plan, 7);
    EXPECT_EQ(grid(stage.image, 2, 2, 4, 2), (std::vector<std::string>{"    ", " hh "}));
}

TEST(Compose, ClipsAtEveryEdgeAndDrawsTheLayerOverTheBackground) {
    Stage stage;
    stage.sprites.pictures[{0, 1}] = picture(0, 0, {"rrr", "rrr", "rrr"});
    stage.sprites.pictures[{0, 2}] = picture(1, 1, {"bbb", "bbb", "bbb"});
    const Plan plan = plan_with({frame(1, 1), frame(1, 2)}, Placement{2, 2, 0}, Placement{0, 0, 1});
    stage.at(plan, 0);  // the background has not started
    EXPECT_EQ(grid(stage.image, 0, 0, 4, 4),
              (std::vector<std::string>{"    ", "    ", "  rr", "  rr"}));
    stage.at(plan, 1);  // the background's frame 1 at 0,0, the layer's frame 2 at 1,1
    EXPECT_EQ(grid(stage.image, 0, 0, 4, 4),
              (std::vector<std::string>{"rrr ", "rbbb", "rbbb", " bbb"}));
    struct Row {
        Placement place;
        int x, y;
        bool red;
    };
    const Row rows[] = {
        {{319, 239, 0}, 319, 239, true},    {{-2, -2, 0}, 0, 0, true},
        {{-2, -2, 0}, 1, 0, false},         {{-2, -2, 0}, 0, 1, false},
        {{320, 0, 0}, 319, 0, false},       {{0, 240, 0}, 0, 239, false},
        {{-3, 0, 0}, 0, 0, false},          {{0, -3, 0}, 0, 0, false},
        {{-2147483647, 0, 0}, 0, 0, false},
    };
    for (const Row& row : rows) {
        stage.at(plan_with({frame(1, 1)}, row.place), 0);
        EXPECT_EQ(pixel_at(stage.image, row.x, row.y) == (Rgb{255, 0, 0}), row.red)
            << row.place.x << "," << row.place.y << " at " << row.x << "," << row.y;
    }
}

TEST(Compose, AMissingSpriteIsAPlaceholderBoxAtItsPlace) {
    Stage stage;
    const Plan plan = plan_with({frame(1, 9)}, Placement{310, 230, 0});
    const StageReport report = stage.at(plan, 0);
    EXPECT_TRUE(report.layer.placeholder);
    EXPECT_EQ(report.layer.frame->sprite, (SpriteKey{0, 9}));
    EXPECT_EQ(grid(stage.image, 309, 229, 11, 2),
              (std::vector<std::string>{"           ", " mmmmmmmmmm"}));
}

TEST(Compose, FadesBlendTowardTheirColourLinearly) {
    struct Row {
        std::int64_t fade_in, fade_out, tick;
        std::uint8_t red;  // of white faded toward black in, red out (end time 100)
        std::uint8_t green;
    };
    const Row rows[] = {
        {30, 0, 0, 0, 0},        {30, 0, 15, 128, 128}, {30, 0, 29, 246, 246},
        {30, 0, 30, 255, 255},   {1, 0, 0, 0, 0},       {1, 0, 1, 255, 255},
        {0, 20, 80, 255, 255},   {0, 20, 81, 255, 242}, {0, 20, 90, 255, 128},
        {0, 20, 100, 255, 0},    {0, 20, 500, 255, 0},  {0, 200, 0, 255, 128},
        {200, 200, 50, 207, 16}, {0, 0, 100, 255, 255}, {-5, -5, 0, 255, 255},
    };
    Stage stage;
    for (const Row& row : rows) {
        Plan plan = plan_with({}, std::nullopt);
        plan.fade_in = {row.fade_in, {0, 0, 0}};
        plan.fade_out = {row.fade_out, {255, 0, 0}};
        stage.at(plan, row.tick);
        const Rgb blended = pixel_at(stage.image, 160, 120);
        EXPECT_EQ(blended, (Rgb{row.red, row.green, row.green}))
            << "in " << row.fade_in << ", out " << row.fade_out << ", tick " << row.tick << ": "
            << int{blended.red} << "," << int{blended.green} << "," << int{blended.blue};
        EXPECT_EQ(pixel_at(stage.image, 0, 0), blended);
    }
}

}  // namespace
}  // namespace tavrix
