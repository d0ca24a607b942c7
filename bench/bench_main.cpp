// Runs every benchmark, then sets the medians beside the targets they must meet.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "system/file_output.h"

namespace {

using Run = benchmark::BenchmarkReporter::Run;

// Prints as the console reporter does and keeps, per benchmark, its median (or its only
// run when it was not repeated).
class MedianKeeper : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians_.insert_or_assign(run.run_name.str(), run);
            } else if (run.run_type == Run::RT_Iteration) {
                singles_.insert_or_assign(run.run_name.str(), run);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    const Run* find(const std::string& name) const {
        if (const auto median = medians_.find(name); median != medians_.end())
            return &median->second;
        if (const auto single = singles_.find(name); single != singles_.end())
            return &single->second;
        return nullptr;
    }

  private:
    std::map<std::string, Run> medians_;
    std::map<std::string, Run> singles_;
};

class Summary {
  public:
    explicit Summary(const MedianKeeper& runs) : runs_(runs) {}

    std::optional<double> seconds(const std::string& name) const {
        const Run* run = runs_.find(name);
        if (!run)
            return std::nullopt;
        return run->GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run->time_unit);
    }

    std::optional<double> counter(const std::string& name, const std::string& counter) const {
        const Run* run = runs_.find(name);
        if (!run || !run->counters.count(counter))
            return std::nullopt;
        return run->counters.at(counter).value;
    }

    void time_below(const char* figure, const std::string& name, double limit_us) {
        const auto measured = seconds(name);
        if (!measured)
            return not_run(figure);
        char text[64];
        std::snprintf(text, sizeof text, "%.3g us", *measured * 1e6);
        char target[64];
        std::snprintf(target, sizeof target, "< %g us", limit_us);
        line(figure, text, target, *measured * 1e6 < limit_us);
    }

    // For work that never waits (decoding, composing): judged by the processor time, which a
    // machine shared with other work does not stretch as it stretches the real time; both
    // are shown.
    void cpu_time_below(const std::string& figure, const std::string& name, double limit_us) {
        const Run* run = runs_.find(name);
        if (!run)
            return not_run(figure.c_str());
        const double unit = benchmark::GetTimeUnitMultiplier(run->time_unit);
        const double cpu_us = run->GetAdjustedCPUTime() / unit * 1e6;
        char text[64];
        std::snprintf(text, sizeof text, "%.3g us cpu (%.3g us real)", cpu_us,
                      run->GetAdjustedRealTime() / unit * 1e6);
        char target[64];
        std::snprintf(target, sizeof target, "< %g us", limit_us);
        line(figure.c_str(), text, target, cpu_us < limit_us);
    }

    void expansion_share(const char* figure, const std::string& expansion, const std::string& raw) {
        const auto made = counter(expansion, "bytes_per_second");
        const auto limit = counter(raw, "bytes_per_second");
        if (!made || !limit || *limit <= 0)
            return not_run(figure);
        char text[96];
        std::snprintf(text, sizeof text, "%.0f / %.0f MB/s = %.0f%%", *made / 1e6, *limit / 1e6,
                      100 * *made / *limit);
        line(figure, text, ">= 50%", *made >= 0.5 * *limit);
    }

    // The same share against a raw write that, like "Generar!", makes a new file beside the
    // old one: no target, it tells how much of the gap the file's replacement accounts for.
    void expansion_share_info(const std::string& expansion, const std::string& raw) const {
        const auto made = counter(expansion, "bytes_per_second");
        const auto limit = counter(raw, "bytes_per_second");
        if (!made || !limit || *limit <= 0)
            return;
        std::printf("  %-42s %.0f / %.0f MB/s = %.0f%%\n", "  the same vs raw write to a new file",
                    *made / 1e6, *limit / 1e6, 100 * *made / *limit);
    }

    void script(const std::string& example, const std::string& few, const std::string& many) {
        time_below("tavrix-script on the example, wall", example, 5000);
        const auto peak = counter(example, "peak_KiB");
        const auto peak_few = counter(few, "peak_KiB");
        const auto peak_many = counter(many, "peak_KiB");
        if (!peak) {
            not_run("tavrix-script on the example, peak memory");
        } else {
            char text[64];
            std::snprintf(text, sizeof text, "%.2f MiB", *peak / 1024);
            line("tavrix-script on the example, peak memory", text, "< 8 MiB", *peak < 8 * 1024);
        }
        if (!peak_few || !peak_many)
            return not_run("peak memory, 1e3 vs 1e6 frames");
        char text[64];
        std::snprintf(text, sizeof text, "%.2f / %.2f MiB", *peak_few / 1024, *peak_many / 1024);
        // Flat: a million frames may cost no more than a few pages over a thousand.
        line("peak memory, 1e3 vs 1e6 frames", text, "flat (+256 KiB)",
             *peak_many <= *peak_few + 256);
    }

    // The preview's peak memory: an archive ten times larger costs its index (about 80 bytes
    // a sprite), and each sprite drawn its decoded pixels (64 KiB for 128 x 128).
    void sprite_memory() {
        const auto peak = [this](int archive, int drawn) {
            return counter("sprites/preview_memory/archive:" + std::to_string(archive) +
                               "/drawn:" + std::to_string(drawn) + "/iterations:3/manual_time",
                           "peak_KiB");
        };
        const auto small = peak(500, 1), large = peak(5000, 1), many = peak(5000, 100);
        if (!small || !large || !many)
            return not_run("preview peak memory");
        char text[96];
        std::snprintf(text, sizeof text, "%.2f / %.2f MiB", *small / 1024, *large / 1024);
        line("peak, archive of 500 / 5,000, 1 drawn", text, "+1 MiB at most",
             *large <= *small + 1024);
        std::snprintf(text, sizeof text, "%.2f / %.2f MiB", *large / 1024, *many / 1024);
        line("peak, 1 / 100 drawn of 5,000", text, "+99 x 64 KiB",
             *many >= *large + 99 * 64 && *many <= *large + 2 * 99 * 64);
    }

    // Heap allocations on the hot paths, which should be none.
    void allocations() const {
        std::printf("\nHeap allocations (medians of this run):\n");
        const std::pair<const char*, const char*> kFigures[] = {
            {"keystroke/estatico_cascade", "allocs/op"},
            {"reload/scene", "allocs/op"},
            {"reload/animation", "allocs/op"},
            {"reload/two_scenes_alternating", "allocs/op"},
            {"generate/default_storyboard/real_time", "allocs/op"},
            {"expansion/long_range/real_time", "allocs/frame"},
        };
        for (const auto& [name, per] : kFigures) {
            if (const auto made = counter(name, per))
                std::printf("  %-42s %.6g %s\n", name, *made, per);
        }
    }

    int misses() const { return misses_; }

  private:
    void line(const char* figure, const char* measured, const char* target, bool met) {
        std::printf("  %-42s %-34s %-16s %s\n", figure, measured, target, met ? "met" : "MISSED");
        misses_ += met ? 0 : 1;
    }
    void not_run(const char* figure) { std::printf("  %-42s (not run)\n", figure); }

    const MedianKeeper& runs_;
    int misses_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    // As the programs do: writes then need not hold SIGPIPE and SIGXFSZ back.
    tavrix::prepare_process_for_files();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    MedianKeeper runs;
    benchmark::RunSpecifiedBenchmarks(&runs);
    benchmark::Shutdown();

    std::printf("\nTargets (medians of this run):\n");
    Summary summary(runs);
    summary.time_below("keystroke cascade", "keystroke/estatico_cascade", 2);
    summary.time_below("reload, scene arrow at scene 0", "reload/scene", 20);
    summary.time_below("reload, animation arrow at animation 0", "reload/animation", 20);
    summary.time_below("reload, alternating two scenes", "reload/two_scenes_alternating", 20);
    summary.time_below("Generar! default storyboard (tmpfs)",
                       "generate/default_storyboard/real_time", 200);
    summary.expansion_share("long expansion vs raw write of its bytes",
                            "expansion/long_range/real_time",
                            "expansion/raw_write_same_bytes/real_time");
    summary.expansion_share_info("expansion/long_range/real_time",
                                 "expansion/raw_write_same_bytes_new_file/real_time");
    summary.expansion_share("export of a full store vs long expansion",
                            "whole_storyboard/export_full_store/real_time",
                            "expansion/long_range/real_time");
    summary.time_below("import of that export (from memory)",
                       "whole_storyboard/import_full_store/real_time", 50000);
    summary.time_below("save a session, full store (tmpfs)", "session/save_full_store/real_time",
                       1000);
    summary.time_below("open a session, full store (tmpfs)", "session/open_full_store/real_time",
                       1000);
    summary.time_below("Comprobar, default storyboard", "check/default_storyboard/real_time", 200);
    summary.time_below("Comprobar, a million frames with fractions",
                       "check/fractional_long_expansion/real_time", 1000);
    summary.script("script/example/manual_time", "script/frames/1000/manual_time",
                   "script/frames/1000000/manual_time");
    summary.cpu_time_below("stage, a tick with a 64 x 64 sprite", "stage/compose_64x64/real_time",
                           200);
    summary.cpu_time_below("stage, the same tick in the fade",
                           "stage/compose_64x64_fading/real_time", 200);
    summary.time_below("open 5,000 sprites (index), version 1",
                       "sprites/open_5000_sprites/version:1/real_time", 20000);
    summary.time_below("open 5,000 sprites (index), version 2",
                       "sprites/open_5000_sprites/version:2/real_time", 20000);
    for (const std::string coding : {"pcx", "raw", "rle8", "rle5", "lz5", "png8", "png24", "png32"})
        summary.cpu_time_below("first decode of 256 x 256, " + coding,
                               "sprites/first_decode_256/" + coding, 1000);
    summary.sprite_memory();
    summary.allocations();
    // A missed target is a finding to read, not a failure of the command.
    std::printf("%d target(s) missed\n", summary.misses());
    return 0;
}
