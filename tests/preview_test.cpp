#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "app/preview_clock.h"

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
