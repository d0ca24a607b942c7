// "Generar!" in process with the real file output, into a memory file system: the default
// storyboard, a long frame expansion, and the same bytes written from a ready buffer, which
// is as fast as the expansion could ever be.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "common/encoding.h"

namespace tavrix::bench {
namespace {

using C = ControlId;

constexpr std::size_t kRawWriteSize = 64 * 1024;
constexpr std::int64_t kLongRangeFrames = 1'000'001;  // X from 0 to 1000000

bool generate(benchmark::State& state, Form1& form) {
    (void)form.click(C::Command1);
    if (const RunResult& run = *form.last_run(); !run.ok()) {
        state.SkipWithError(run.error().message.c_str());
        return false;
    }
    return true;
}

void default_storyboard(benchmark::State& state) {
    const auto form = make_form();
    (void)form->type_text(C::Text11, scratch_path("default.def"));
    const std::uint64_t before = allocation_count();
    for (auto _ : state) {
        if (!generate(state, *form))
            return;
    }
    report_allocations(state, "allocs/op", before);
}
BENCHMARK(default_storyboard)->Name("generate/default_storyboard")->UseRealTime();

// X runs from 0 to 1000000 while every other range stays put (the speed range is Estático
// at start-up): one frame line per X value.
std::unique_ptr<Form1> long_range_form(const std::string& path) {
    auto form = make_form();
    (void)form->type_text(C::Text11, path);
    (void)form->type_text(C::Text3, "0");
    (void)form->type_text(C::Text6, std::to_string(kLongRangeFrames - 1));
    return form;
}

void long_expansion(benchmark::State& state) {
    const std::string path = scratch_path("long.def");
    const auto form = long_range_form(path);
    const std::uint64_t before = allocation_count();
    for (auto _ : state) {
        if (!generate(state, *form))
            return;
    }
    report_allocations(state, "allocs/frame", before, static_cast<double>(kLongRangeFrames));
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    state.SetBytesProcessed(bytes * state.iterations());
    state.counters["frames"] = benchmark::Counter(
        static_cast<double>(kLongRangeFrames * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(long_expansion)
    ->Name("expansion/long_range")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// An output that only counts what it is given: the expansion's own work, without the file.
class CountingOutput final : public Output {
  public:
    explicit CountingOutput(std::uint64_t& bytes) : bytes_(bytes) {}
    IoStatus open(std::string_view) override { return IoStatus::success(); }
    IoStatus write(std::string_view bytes) override {
        bytes_ += bytes.size();
        return IoStatus::success();
    }
    IoStatus commit() override { return IoStatus::success(); }
    void abandon() noexcept override {}

  private:
    std::uint64_t& bytes_;
};

void long_expansion_in_memory(benchmark::State& state) {
    std::uint64_t bytes = 0;
    Form1 form(Platform{[&bytes] { return std::make_unique<CountingOutput>(bytes); },
                        append_windows_1252});
    (void)form.type_text(C::Text3, "0");
    (void)form.type_text(C::Text6, std::to_string(kLongRangeFrames - 1));
    for (auto _ : state) {
        if (!generate(state, form))
            return;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.counters["frames"] = benchmark::Counter(
        static_cast<double>(kLongRangeFrames * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(long_expansion_in_memory)
    ->Name("expansion/long_range_no_file")
    ->Unit(benchmark::kMillisecond);

// How the raw write reaches its file.
enum class RawTarget : std::uint8_t {
    Truncated,    // the same file emptied and written again
    NewBesideOld  // a new file beside the old one, then moved over it, as "Generar!" does
};

bool write_in_blocks(int fd, const std::string& bytes) {
    for (std::size_t at = 0; at < bytes.size(); at += kRawWriteSize) {
        const std::size_t size = std::min(kRawWriteSize, bytes.size() - at);
        if (::write(fd, bytes.data() + at, size) != static_cast<ssize_t>(size))
            return false;
    }
    return true;
}

bool write_raw(const std::string& bytes, const std::string& path, RawTarget target) {
    const std::string written = target == RawTarget::Truncated ? path : path + ".new";
    const int fd = ::open(written.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const bool ok = write_in_blocks(fd, bytes);
    if (::close(fd) != 0 || !ok)
        return false;
    return target == RawTarget::Truncated || ::rename(written.c_str(), path.c_str()) == 0;
}

// The file that the long expansion writes, written again from memory into the same folder
// with one write call per 64 KiB.
void raw_write(benchmark::State& state, RawTarget target) {
    const std::string source = scratch_path("long-source.def");
    const auto form = long_range_form(source);
    if (!generate(state, *form))
        return;
    const std::string bytes = read_file(source);
    const std::string path = scratch_path("long-raw.def");
    for (auto _ : state) {
        if (!write_raw(bytes, path, target)) {
            state.SkipWithError("the storyboard file could not be written");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes.size()) * state.iterations());
    state.counters["frames"] = benchmark::Counter(
        static_cast<double>(kLongRangeFrames * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(raw_write, truncated, RawTarget::Truncated)
    ->Name("expansion/raw_write_same_bytes")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(raw_write, new_beside_old, RawTarget::NewBesideOld)
    ->Name("expansion/raw_write_same_bytes_new_file")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrix::bench
