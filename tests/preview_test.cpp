#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "app/preview.h"
#include "app/preview_clock.h"
#include "support/memory_output.h"

namespace tavrix {
namespace {

using namespace std::chrono_literals;

TEST(PreviewClock, PlaysBySteadyTimeWrapsAndStaysWithinTheScene) {
    std::chrono::steady_clock::time_point now{};
    PreviewClock clock([&now] { return now; });
    clock.set_length(100);
    enum class Do { Wait, Play, Pause, Toggle, Step, Seek, Length };
    struct Row {
        Do what;
        std::int64_t amount;  // milliseconds waited, ticks stepped or sought, a length
        std::int64_t tick;
    };
    const Row rows[] = {
        {Do::Wait, 500, 0},   {Do::Play, 0, 0},     {Do::Wait, 1000, 60}, {Do::Wait, 16, 60},
        {Do::Wait, 1, 61},    {Do::Pause, 0, 61},   {Do::Wait, 5000, 61}, {Do::Step, 1, 62},
        {Do::Step, -100, 0},  {Do::Step, 1000, 99}, {Do::Toggle, 0, 99},  {Do::Wait, 34, 1},
        {Do::Seek, 50, 50},   {Do::Wait, 500, 80},  {Do::Length, 60, 59}, {Do::Wait, 17, 0},
        {Do::Wait, 60000, 0}, {Do::Toggle, 0, 0},   {Do::Seek, -5, 0},    {Do::Length, 0, 0},
        {Do::Step, 1, 0},     {Do::Play, 0, 0},     {Do::Wait, 1000, 0},
    };
    for (const Row& row : rows) {
        switch (row.what) {
            case Do::Wait:
                now += std::chrono::milliseconds(row.amount);
                break;
            case Do::Play:
                clock.play();
                break;
            case Do::Pause:
                clock.pause();
                break;
            case Do::Toggle:
                clock.toggle();
                break;
            case Do::Step:
                clock.step(row.amount);
                break;
            case Do::Seek:
                clock.seek(row.amount);
                break;
            case Do::Length:
                clock.set_length(row.amount);
                break;
        }
        EXPECT_EQ(clock.tick(), row.tick) << "after row " << (&row - rows);
    }
    EXPECT_TRUE(clock.playing());
}

}  // namespace
}  // namespace tavrix

namespace tavrix {
namespace {

using C = ControlId;

std::string described(const Plan& plan) {
    const auto colour = [](Rgb c) {
        return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
    };
    const auto place = [](const std::optional<Placement>& p) {
        return p ? std::to_string(p->x) + "," + std::to_string(p->y) + "@" +
                       std::to_string(p->start)
                 : std::string("-");
    };
    std::string text = "end=" + std::to_string(plan.end_time) + " clear=" + colour(plan.clear) +
                       " in=" + std::to_string(plan.fade_in.ticks) + "/" +
                       colour(plan.fade_in.colour) + " out=" + std::to_string(plan.fade_out.ticks) +
                       " layer=" + place(plan.layer) + " bg=" + place(plan.background) +
                       " frames=" + std::to_string(plan.action.size());
    if (const ActionFrame* first = plan.action.at(0)) {
        text += " first=" + std::to_string(first->sprite.group) + "," +
                std::to_string(first->sprite.number) + "@" + std::to_string(first->x) + "," +
                std::to_string(first->y) + "/" + std::to_string(first->time);
    }
    return text + " notes=" + std::to_string(plan.notes.size());
}

class NoSprites final : public SpriteSource {
  public:
    std::shared_ptr<const Picture> find(SpriteKey) override { return nullptr; }
    std::string why_missing(SpriteKey) override { return "no hay archivo"; }
};

struct PreviewedForm : testing::MemoryForm {
    int opened = 0;
    std::string opened_with;
    std::chrono::steady_clock::time_point now{};
    Preview preview{form,
                    [this](std::string_view storyboard, std::string_view archive) {
                        ++opened;
                        opened_with = std::string(storyboard) + "|" + std::string(archive);
                        return std::make_unique<NoSprites>();
                    },
                    [this] { return now; }};
};

TEST(ScenePlan, ReadsEveryValueAsAnEngineReadsTheWrittenText) {
    struct Row {
        std::vector<std::pair<ControlId, std::string>> edits;  // a click when the text is empty
        std::string plan;
    };
    const std::string zero = "clear=0,0,0 in=0/0,0,0 out=0";
    const std::vector<std::pair<ControlId, std::string>> four_frames{{C::Text8, "5"},
                                                                     {C::Text5, "3"}};
    const auto with = [&four_frames](std::vector<std::pair<ControlId, std::string>> more) {
        more.insert(more.begin(), four_frames.begin(), four_frames.end());
        return more;
    };
    const Row rows[] = {
        {{}, "end=1 " + zero + " layer=0,0@0 bg=- frames=0 notes=0"},
        {four_frames, "end=20 " + zero + " layer=0,0@0 bg=- frames=4 first=0,0@0,0/5 notes=0"},
        {with({{C::Text19, "10"}}),
         "end=30 " + zero + " layer=0,0@10 bg=- frames=4 first=0,0@0,0/5 notes=0"},
        {with({{C::Text19, "1.5"}}),
         "end=21 " + zero + " layer=0,0@0 bg=- frames=4 first=0,0@0,0/5 notes=0"},
        {{{C::rojo, "300"}, {C::verde, "-4"}, {C::azul, " 7 "}},
         "end=1 clear=255,0,7 in=0/0,0,0 out=0 layer=0,0@0 bg=- frames=0 notes=0"},
        {{{C::Text17, "100"}, {C::Text15, "5"}, {C::Text18, "-3"}, {C::Text20, "2.5"}},
         "end=1 " + zero + " layer=105,-3@0 bg=- frames=0 notes=0"},
        {{{C::Check6, ""},
          {C::ttika, "30"},
          {C::tikdd, "20"},
          {C::Text25, "255"},
          {C::Text27, "9"}},
         "end=1 clear=0,0,0 in=30/255,0,9 out=20 layer=0,0@0 bg=- frames=0 notes=0"},
        {{{C::Check8, ""}, {C::Text23, "7"}, {C::Text22, "8"}},
         "end=1 " + zero + " layer=0,0@0 bg=7,8@0 frames=0 notes=0"},
        {{{C::Check8, ""}, {C::Text24, "1"}},
         "end=1 " + zero + " layer=0,0@0 bg=- frames=0 notes=1"},
        {{{C::Text16, " 1"}}, "end=1 " + zero + " layer=- bg=- frames=0 notes=1"},
        {{{C::Text16, "1x"}}, "end=1 " + zero + " layer=- bg=- frames=0 notes=1"},
        {{{C::Text3, "0.5"}, {C::Text8, "1"}},
         "end=2 " + zero + " layer=0,0@0 bg=- frames=0 notes=0"},
        {{{C::Text1, "-"}, {C::Text8, "1"}},
         "end=1 " + zero + " layer=0,0@0 bg=- frames=0 notes=1"},
        {{{C::Text3, "70000"}, {C::Text6, "70000"}, {C::Text8, "2"}},
         "end=2 " + zero + " layer=0,0@0 bg=- frames=1 first=0,0@4464,0/2 notes=0"},
        {{{C::Text8, "-1"}, {C::Text5, "2"}},
         "end=1 " + zero + " layer=0,0@0 bg=- frames=1 first=0,0@0,0/-1 notes=0"},
        {{{C::Check5, ""}, {C::Text8, "1"}, {C::Text10, "3"}, {C::Text5, "2"}},
         "end=6 " + zero + " layer=0,0@0 bg=- frames=3 first=0,0@0,0/1 notes=0"},
    };
    for (const Row& row : rows) {
        PreviewedForm previewed;
        for (const auto& [id, text] : row.edits) {
            if (text.empty())
                previewed.click(id);
            else
                previewed.type(id, text);
        }
        EXPECT_EQ(described(previewed.preview.plan()), row.plan) << "row " << (&row - rows);
    }
}

TEST(Preview, FollowsTheFormAndOpensTheArchiveAgainOnlyWhenItsNameOrPlaceChanges) {
    PreviewedForm previewed;
    std::vector<std::uint8_t> image(kStageBytes);
    const StagePixels pixels(image.data(), kStageBytes);
    previewed.type(C::Text8, "10");
    previewed.type(C::Text5, "2");
    PreviewStatus status = previewed.preview.draw(pixels);
    EXPECT_EQ(previewed.opened, 1);
    EXPECT_EQ(previewed.opened_with, "c:\\intro.def|intro.sff");
    EXPECT_EQ(status.end_time, 30);
    ASSERT_TRUE(status.frame && status.sprite);
    EXPECT_EQ(*status.frame, 1u);
    EXPECT_EQ(status.placeholder, "El sprite 0,0 del marco 1 es un recuadro: no hay archivo");
    previewed.preview.play();
    previewed.now += std::chrono::milliseconds(250);  // 15 ticks: the second frame
    status = previewed.preview.draw(pixels);
    EXPECT_EQ(status.tick, 15);
    EXPECT_DOUBLE_EQ(status.seconds, 0.25);
    EXPECT_TRUE(status.playing);
    EXPECT_EQ(status.sprite, (SpriteKey{0, 1}));
    EXPECT_EQ(*status.frame, 2u);
    previewed.type(C::Text2, "5");  // the image now runs from 5: seen at the next draw
    status = previewed.preview.draw(pixels);
    EXPECT_EQ(status.sprite, (SpriteKey{0, 5}));
    EXPECT_EQ(status.end_time, 10);
    EXPECT_EQ(previewed.opened, 1);
    previewed.type(C::Text11, "/juego/intro.def");
    previewed.preview.step(-1);
    EXPECT_EQ(previewed.preview.draw(pixels).tick, 9);
    EXPECT_FALSE(previewed.preview.playing());
    EXPECT_EQ(previewed.opened, 2);
    EXPECT_EQ(previewed.opened_with, "/juego/intro.def|intro.sff");
}

}  // namespace
}  // namespace tavrix
