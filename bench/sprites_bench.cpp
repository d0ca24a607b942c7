// The sprite archive reader on archives that the tests' own writer makes, as files in the
// scratch folder: opening an archive of 5,000 sprites (its index only), the first decode of
// a 256 x 256 sprite of each coding, and the peak memory of tavrix-script previewing a few
// or many sprites of a small or a large archive.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "sprites/archive.h"
#include "support/sprite_writer.h"

namespace tavrix::bench {
namespace {

using testing::ArchiveDraft;
using testing::Coding;
using testing::PaletteDraft;
using testing::SpriteDraft;

constexpr int kColours = 32;  // what every coding can hold, LZ5's runs included

// A figure as sprites have one: an ellipse of shaded bands with a grain over it, on colour
// 0 (transparent) around it; or its colours, with alpha for RGBA.
std::vector<std::uint8_t> figure(int side, int channels, int seed) {
    std::vector<std::uint8_t> pixels;
    std::uint32_t grain = 2463534242u + static_cast<std::uint32_t>(seed);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            grain ^= grain << 13, grain ^= grain >> 17, grain ^= grain << 5;
            const int dx = 2 * x - side + 1, dy = 2 * y - side + 1;
            const bool inside = dx * dx + dy * dy * 2 <= side * side * 3 / 2;
            const int index = inside ? 1 + ((x + 2 * y + seed) / 9 + (grain % 7 == 0)) % 31 : 0;
            if (channels == 1) {
                pixels.push_back(static_cast<std::uint8_t>(index));
                continue;
            }
            pixels.insert(pixels.end(), {static_cast<std::uint8_t>(index * 8),
                                         static_cast<std::uint8_t>(255 - index * 8), 96});
            if (channels == 4)
                pixels.push_back(index == 0 ? 0 : 255);
        }
    }
    return pixels;
}

SpriteDraft sprite(std::uint16_t number, Coding coding, int side) {
    SpriteDraft draft;
    draft.key = {0, number};
    draft.width = draft.height = static_cast<std::uint16_t>(side);
    draft.axis_x = static_cast<std::int16_t>(side / 2);
    draft.axis_y = static_cast<std::int16_t>(side);
    draft.coding = coding;
    draft.pixels = figure(side,
                          coding == Coding::PngRgba  ? 4
                          : coding == Coding::PngRgb ? 3
                                                     : 1,
                          number);
    draft.same_palette = number > 0;
    return draft;
}

PaletteDraft palette() {
    PaletteDraft draft{{1, 0}, {}, std::nullopt};
    for (int index = 0; index < kColours; ++index)
        draft.colours.push_back(
            {static_cast<std::uint8_t>(index * 8), 40, static_cast<std::uint8_t>(255 - index * 8)});
    return draft;
}

// Writes the archive once, into the scratch folder, and gives its path.
std::string archive_file(const std::string& name, const ArchiveDraft& draft) {
    const std::string path = scratch_path(name);
    const std::vector<std::uint8_t> bytes = testing::write_archive(draft);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

// `count` sprites of `side` pixels a side, PCX sharing one palette (version 1) or RLE8.
std::string many_sprites(int version, int count, int side) {
    const std::string name = "many-v" + std::to_string(version) + "-" + std::to_string(count) +
                             "-" + std::to_string(side) + ".sff";
    ArchiveDraft draft{version, true, {}, {palette()}};
    for (int number = 0; number < count; ++number)
        draft.sprites.push_back(sprite(static_cast<std::uint16_t>(number),
                                       version == 1 ? Coding::Pcx : Coding::Rle8, side));
    return archive_file(name, draft);
}

void open_index(benchmark::State& state) {
    const int version = static_cast<int>(state.range(0));
    const std::string path = many_sprites(version, 5000, 16);
    for (auto _ : state) {
        auto archive = open_sprite_archive(path);
        if (!archive.ok() || archive.value().sprites().size() != 5000) {
            state.SkipWithError("the archive did not open");
            return;
        }
        benchmark::DoNotOptimize(archive);
    }
}
BENCHMARK(open_index)
    ->Name("sprites/open_5000_sprites")
    ->ArgName("version")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A sprite of 256 x 256 decoded anew at every iteration (nothing decoded is kept), from the
// file as the preview reads it: its coded bytes and its palette, then the pixels.
void first_decode(benchmark::State& state, Coding coding) {
    const int version = coding == Coding::Pcx ? 1 : 2;
    const std::string name = "decode-" + std::to_string(static_cast<int>(coding)) + ".sff";
    ArchiveDraft draft{version, false, {sprite(0, coding, 256)}, {palette()}};
    auto archive = open_sprite_archive(archive_file(name, draft));
    if (!archive.ok())
        return state.SkipWithError("the archive did not open");
    archive.value().set_kept_limit(0);
    for (auto _ : state) {
        const auto picture = archive.value().picture({0, 0});
        if (!picture.ok())
            return state.SkipWithError(sprite_fault_text(picture.error()).c_str());
        benchmark::DoNotOptimize(picture.value()->rgba.data());
    }
}
BENCHMARK_CAPTURE(first_decode, pcx, Coding::Pcx)->Name("sprites/first_decode_256/pcx");
BENCHMARK_CAPTURE(first_decode, raw, Coding::Raw)->Name("sprites/first_decode_256/raw");
BENCHMARK_CAPTURE(first_decode, rle8, Coding::Rle8)->Name("sprites/first_decode_256/rle8");
BENCHMARK_CAPTURE(first_decode, rle5, Coding::Rle5)->Name("sprites/first_decode_256/rle5");
BENCHMARK_CAPTURE(first_decode, lz5, Coding::Lz5)->Name("sprites/first_decode_256/lz5");
BENCHMARK_CAPTURE(first_decode, png8, Coding::PngIndexed)->Name("sprites/first_decode_256/png8");
BENCHMARK_CAPTURE(first_decode, png24, Coding::PngRgb)->Name("sprites/first_decode_256/png24");
BENCHMARK_CAPTURE(first_decode, png32, Coding::PngRgba)->Name("sprites/first_decode_256/png32");

// tavrix-script previewing one tick for each of `drawn` sprites of 128 x 128, images 0 on,
// of an archive of `count`: its peak memory should follow what is drawn, not the archive.
void preview_memory(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int drawn = static_cast<int>(state.range(1));
    const std::string archive = many_sprites(2, count, 128);
    const std::string script =
        scratch_path("memory-" + std::to_string(count) + "-" + std::to_string(drawn) + ".tvs");
    {
        std::ofstream out(script);
        out << "set Text11 memory.def\nset Text12 " << archive << "\nset Text8 1\nset Text5 "
            << drawn - 1 << "\n";
        for (int tick = 0; tick < drawn; ++tick)
            out << "preview " << tick << " memory.png\n";
    }
    long peak_kib = 0;
    for (auto _ : state) {
        const auto figures = run_script(script);
        if (!figures || figures->exit_code != 0)
            return state.SkipWithError("tavrix-script did not end well");
        state.SetIterationTime(figures->wall_seconds);
        peak_kib = std::max(peak_kib, figures->peak_kib);
    }
    state.counters["peak_KiB"] = static_cast<double>(peak_kib);
}
BENCHMARK(preview_memory)
    ->Name("sprites/preview_memory")
    ->ArgNames({"archive", "drawn"})
    ->Args({500, 1})
    ->Args({5000, 1})
    ->Args({500, 100})
    ->Args({5000, 100})
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrix::bench
