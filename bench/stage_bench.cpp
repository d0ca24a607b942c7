// The stage at one tick: the clear colour, a 64 x 64 sprite at its place, and the fade, as
// the preview draws sixty times a second.
#include <benchmark/benchmark.h>

#include <vector>

#include "stage/compose.h"

namespace tavrix::bench {
namespace {

// One decoded sprite, a quarter of it colour 0 (transparent) as palette sprites have.
class OneSprite final : public SpriteSource {
  public:
    OneSprite()
        : picture_(std::make_shared<Picture>(
              Picture{64, 64, 32, 60, std::vector<std::uint8_t>(64 * 64 * 4)})) {
        for (std::size_t i = 0; i < picture_->rgba.size(); i += 4) {
            const std::size_t pixel = i / 4;
            picture_->rgba[i] = static_cast<std::uint8_t>(pixel);
            picture_->rgba[i + 1] = static_cast<std::uint8_t>(pixel >> 3);
            picture_->rgba[i + 2] = 200;
            picture_->rgba[i + 3] = pixel % 4 == 0 ? 0 : 255;
        }
    }
    std::shared_ptr<const Picture> find(SpriteKey) override { return picture_; }
    std::string why_missing(SpriteKey) override { return {}; }

  private:
    std::shared_ptr<Picture> picture_;
};

void compose_tick(benchmark::State& state, std::int64_t fade_ticks) {
    Plan plan;
    plan.end_time = 600;
    plan.clear = {10, 20, 30};
    plan.fade_in = {fade_ticks, {0, 0, 0}};
    for (std::uint16_t image = 0; image < 10; ++image)
        plan.action.add({{0, image}, 0, 0, 5, image + 1u});
    plan.layer = Placement{160, 180, 0};
    OneSprite sprites;
    std::vector<std::uint8_t> image(kStageBytes);
    std::int64_t tick = 0;
    for (auto _ : state) {
        const StageReport report =
            compose(plan, tick, sprites, StagePixels(image.data(), kStageBytes));
        benchmark::DoNotOptimize(report);
        benchmark::DoNotOptimize(image.data());
        tick = (tick + 1) % 30;
    }
}

void sprite(benchmark::State& state) {
    compose_tick(state, 0);
}
BENCHMARK(sprite)->Name("stage/compose_64x64")->Unit(benchmark::kMicrosecond)->UseRealTime();

// Every tick inside the fade, which blends the whole stage.
void sprite_fading(benchmark::State& state) {
    compose_tick(state, 60);
}
BENCHMARK(sprite_fading)
    ->Name("stage/compose_64x64_fading")
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

}  // namespace
}  // namespace tavrix::bench
