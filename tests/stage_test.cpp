#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "stage/compose.h"

namespace tavrix {
namespace {

// Frame i of `times` shows sprite 0,i+1 at offset `x`.
Timeline timeline_of(const std::vector<std::int32_t>& times, std::int16_t x = 0) {
    Timeline timeline;
    for (std::size_t i = 0; i < times.size(); ++i)
        timeline.add({{0, static_cast<std::uint16_t>(i + 1)}, x, 0, times[i], i + 1});
    return timeline;
}

TEST(Timeline, ShowsEachFrameForItsTimeSkipsZeroHoldsNegativeAndLoops) {
    struct Row {
        std::vector<std::int32_t> times;
        std::int64_t tick;
        int frame;  // from 1; 0: nothing shown
    };
    const Row rows[] = {
        {{3, 2}, 0, 1},      {{3, 2}, 2, 1},
        {{3, 2}, 3, 2},      {{3, 2}, 5, 1},
        {{3, 2}, 13, 2},     {{3, 2}, -1, 0},
        {{0, 4}, 0, 2},      {{2, 0, 1}, 2, 3},
        {{0, 0}, 0, 0},      {{}, 0, 0},
        {{2, -1, 5}, 1, 1},  {{2, -1, 5}, 2, 2},
        {{2, -1, 5}, 10, 2}, {{1, 1, 1}, 3000000000, 1},
    };
    for (const Row& row : rows) {
        const Timeline timeline = timeline_of(row.times);
        const ActionFrame* shown = timeline.at(row.tick);
        EXPECT_EQ(shown ? shown->sprite.number : 0, row.frame)
            << "tick " << row.tick << " of " << row.times.size() << " frames";
    }
}

// Sprites from rows of letters; a key it does not hold is missing.
class Sprites final : public SpriteSource {
  public:
    void add(std::uint16_t image, std::int16_t axis_x, std::int16_t axis_y,
             const std::vector<std::string>& rows) {
        static const std::map<char, std::array<std::uint8_t, 4>> colours{
            {'.', {0, 0, 0, 0}}, {'r', {255, 0, 0, 255}}, {'b', {0, 0, 255, 255}}};
        auto& held = pictures_[{0, image}];
        held = std::make_shared<Picture>();
        Picture& made = *held;
        made = {static_cast<std::uint16_t>(rows[0].size()),
                static_cast<std::uint16_t>(rows.size()),
                axis_x,
                axis_y,
                {}};
        for (const std::string& row : rows) {
            for (char c : row)
                made.rgba.insert(made.rgba.end(), colours.at(c).begin(), colours.at(c).end());
        }
    }
    std::shared_ptr<const Picture> find(SpriteKey key) override {
        const auto found = pictures_.find(key);
        return found == pictures_.end() ? nullptr : found->second;
    }
    std::string why_missing(SpriteKey) override { return {}; }

  private:
    std::map<SpriteKey, std::shared_ptr<Picture>> pictures_;
};

struct Stage {
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(kStageBytes);
    Sprites sprites;
    Plan plan;

    Stage() {
        plan.end_time = 100;
        plan.clear = {255, 255, 255};
    }
    StageReport at(std::int64_t tick) {
        return compose(plan, tick, sprites, StagePixels(image.data(), kStageBytes));
    }
    Rgb pixel(int x, int y) const {
        const std::size_t at = (static_cast<std::size_t>(y) * kStageWidth + x) * 4;
        return {image[at], image[at + 1], image[at + 2]};
    }
    // The pixels of a corner as letters: ' ' white, 'r', 'b', 'm' the placeholder.
    std::vector<std::string> grid(int left, int top, int width, int height) const {
        const std::map<std::array<int, 3>, char> letters{
            {{255, 255, 255}, ' '}, {{255, 0, 0}, 'r'}, {{0, 0, 255}, 'b'}, {{255, 0, 255}, 'm'}};
        std::vector<std::string> rows(static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const Rgb p = pixel(left + x, top + y);
                const auto found = letters.find({p.red, p.green, p.blue});
                rows[static_cast<std::size_t>(y)] += found == letters.end() ? '?' : found->second;
            }
        }
        return rows;
    }
};

TEST(Compose, DrawsEachFrameWithItsAxisMaskedClippedAndTheLayerOverTheBackground) {
    Stage stage;
    stage.sprites.add(1, 1, 1, {".rr", "rrr"});
    stage.sprites.add(2, 0, 0, {"bb", "bb"});
    stage.plan.action = timeline_of({2, 2, 2}, 1);  // sprite 0,3 is missing
    stage.plan.background = Placement{0, 1, 0};
    stage.plan.layer = Placement{1, 3, 2};  // from tick 2, the frame's X 1 and the axis 1,1
    stage.at(0);
    EXPECT_EQ(stage.grid(0, 0, 4, 4), (std::vector<std::string>{" rr ", "rrr ", "    ", "    "}));
    const StageReport report = stage.at(2);
    EXPECT_EQ(stage.grid(0, 0, 4, 4), (std::vector<std::string>{"    ", " bb ", " brr", " rrr"}));
    EXPECT_EQ(report.background.frame->number, 2u);
    EXPECT_EQ(report.layer.frame->number, 1u);
    EXPECT_FALSE(report.layer.placeholder);
    const StageReport missing = stage.at(4);  // the background's sprite 0,3: a box at 1,1
    EXPECT_TRUE(missing.background.placeholder);
    EXPECT_EQ(stage.grid(0, 0, 4, 4), (std::vector<std::string>{"    ", " mmm", " mmm", " mbb"}));
    struct Row {
        Placement place;  // of the layer, from tick 0; sprite 0,2 is 2 x 2 at axis 0,0
        int x, y;
        bool blue;
    };
    const Row rows[] = {
        {{318, 238, 0}, 319, 239, true}, {{-1, -1, 0}, 0, 0, true},
        {{-1, -1, 0}, 1, 0, false},      {{-1, -1, 0}, 0, 1, false},
        {{320, 0, 0}, 319, 0, false},    {{0, 240, 0}, 0, 239, false},
        {{-2, 0, 0}, 0, 0, false},       {{-2147483647, 0, 0}, 0, 0, false},
    };
    stage.plan.action = timeline_of({-1});
    stage.plan.background.reset();
    stage.sprites.add(1, 0, 0, {"bb", "bb"});
    for (const Row& row : rows) {
        stage.plan.layer = row.place;
        stage.at(0);
        EXPECT_EQ(stage.pixel(row.x, row.y) == (Rgb{0, 0, 255}), row.blue)
            << row.place.x << "," << row.place.y << " at " << row.x << "," << row.y;
    }
}

TEST(Compose, FadesBlendTowardTheirColourLinearly) {
    struct Row {
        std::int64_t fade_in, fade_out, tick;
        std::uint8_t red, green;  // white toward black in, toward red out (end time 100)
    };
    const Row rows[] = {
        {30, 0, 0, 0, 0},      {30, 0, 15, 128, 128},   {30, 0, 29, 246, 246},
        {30, 0, 30, 255, 255}, {0, 20, 80, 255, 255},   {0, 20, 81, 255, 242},
        {0, 20, 90, 255, 128}, {0, 20, 100, 255, 0},    {0, 20, 500, 255, 0},
        {0, 200, 0, 255, 128}, {200, 200, 50, 207, 16}, {-5, -5, 0, 255, 255},
    };
    Stage stage;
    for (const Row& row : rows) {
        stage.plan.fade_in = {row.fade_in, {0, 0, 0}};
        stage.plan.fade_out = {row.fade_out, {255, 0, 0}};
        stage.at(row.tick);
        EXPECT_EQ(stage.pixel(160, 120), (Rgb{row.red, row.green, row.green}))
            << "in " << row.fade_in << ", out " << row.fade_out << ", tick " << row.tick;
        EXPECT_EQ(stage.pixel(0, 0), stage.pixel(319, 239));
    }
}

}  // namespace
}  // namespace tavrix
