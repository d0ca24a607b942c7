#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>

#include "app/preview.h"
#include "app/preview_view.h"
#include "support/memory_output.h"

namespace tavrix {
namespace {

using C = ControlId;
using Clock = std::chrono::steady_clock;

TEST(PreviewClock, PlaysBySteadyTimeWrapsAndStaysWithinTheScene) {
    Clock::time_point now{};
    PreviewClock clock([&now] { return now; });
    clock.set_length(100);
    // w: wait milliseconds, p: play, z: pause, t: toggle, s: step, k: seek, l: length.
    const std::map<char, std::function<void(std::int64_t)>> act{
        {'w', [&](std::int64_t ms) { now += std::chrono::milliseconds(ms); }},
        {'p', [&](std::int64_t) { clock.play(); }},
        {'z', [&](std::int64_t) { clock.pause(); }},
        {'t', [&](std::int64_t) { clock.toggle(); }},
        {'s', [&](std::int64_t ticks) { clock.step(ticks); }},
        {'k', [&](std::int64_t tick) { clock.seek(tick); }},
        {'l', [&](std::int64_t ticks) { clock.set_length(ticks); }}};
    struct Row {
        char what;
        std::int64_t amount, tick;
    };
    const Row rows[] = {
        {'w', 500, 0}, {'p', 0, 0},     {'w', 1000, 60}, {'w', 16, 60},  {'w', 1, 61},
        {'z', 0, 61},  {'w', 5000, 61}, {'s', 1, 62},    {'s', -100, 0}, {'s', 1000, 99},
        {'t', 0, 99},  {'w', 34, 1},    {'k', 50, 50},   {'w', 500, 80}, {'l', 60, 59},
        {'w', 17, 0},  {'w', 60000, 0}, {'t', 0, 0},     {'k', -5, 0},   {'l', 0, 0},
        {'s', 1, 0},   {'p', 0, 0},     {'w', 1000, 0},
    };
    for (const Row& row : rows) {
        act.at(row.what)(row.amount);
        EXPECT_EQ(clock.tick(), row.tick) << "after row " << (&row - rows);
    }
    EXPECT_TRUE(clock.playing());
}

// The line under the stage, as a person reads it.
TEST(PreviewView, SaysTheTickTimeFrameAndSprite) {
    const std::pair<PreviewStatus, const char*> rows[] = {
        {{0, 0, 0, false, {}, {}, ""}, "Tic 0 de 0 · 0,00 s · sin marco"},
        {{75, 120, 1.25, true, 3, SpriteKey{0, 2}, ""},
         "Tic 75 de 120 · 1,25 s · marco 3 · sprite 0,2"},
        {{61, 70, 61.0 / 60, false, 12, {}, ""}, "Tic 61 de 70 · 1,02 s · marco 12"},
    };
    for (const auto& [status, line] : rows)
        EXPECT_EQ(status_line(status), line);
    EXPECT_EQ(play_caption(true), "Pausa");
    EXPECT_EQ(play_caption(false), "Reproducir");
}

class NoSprites final : public SpriteSource {
  public:
    std::shared_ptr<const Picture> find(SpriteKey) override { return nullptr; }
    std::string why_missing(SpriteKey) override { return "no hay archivo"; }
};

struct PreviewedForm : testing::MemoryForm {
    int opened = 0;
    std::string opened_with;
    Clock::time_point now{};
    Preview preview{form,
                    [this](std::string_view storyboard, std::string_view archive) {
                        ++opened;
                        opened_with = std::string(storyboard) + "|" + std::string(archive);
                        return std::make_unique<NoSprites>();
                    },
                    [this] { return now; }};

    // Texts typed, or a click where the text is empty.
    void edit(const std::vector<std::pair<ControlId, std::string>>& edits) {
        for (const auto& [id, text] : edits)
            text.empty() ? click(id) : type(id, text);
    }
};

TEST(Preview, FollowsTheFormAndOpensTheArchiveAgainOnlyWhenItsNameOrPlaceChanges) {
    PreviewedForm previewed;
    std::vector<std::uint8_t> image(kStageBytes);
    const StagePixels pixels(image.data(), kStageBytes);
    previewed.edit({{C::Text8, "10"}, {C::Text5, "2"}});
    PreviewStatus status = previewed.preview.draw(pixels);
    EXPECT_EQ(status.end_time, 30);
    EXPECT_EQ(status.placeholder, "El sprite 0,0 del marco 1 es un recuadro: no hay archivo");
    previewed.preview.play();
    previewed.now += std::chrono::milliseconds(250);  // 15 ticks: the second frame
    status = previewed.preview.draw(pixels);
    EXPECT_EQ(status.tick, 15);
    EXPECT_DOUBLE_EQ(status.seconds, 0.25);
    EXPECT_EQ(status.sprite, (SpriteKey{0, 1}));
    EXPECT_EQ(status.frame, 2u);
    previewed.type(C::Text2, "5");  // one frame of image 5 now, seen at the next draw
    status = previewed.preview.draw(pixels);
    EXPECT_EQ(status.sprite, (SpriteKey{0, 5}));
    EXPECT_EQ(status.tick, 10);
    EXPECT_EQ(previewed.opened_with, "c:\\intro.def|intro.sff");
    EXPECT_EQ(previewed.opened, 1);
    previewed.type(C::Text11, "/juego/intro.def");
    previewed.preview.step(-1);
    EXPECT_EQ(previewed.preview.draw(pixels).tick, 9);
    EXPECT_EQ(previewed.opened_with, "/juego/intro.def|intro.sff");
    EXPECT_EQ(previewed.opened, 2);
}

}  // namespace
}  // namespace tavrix
