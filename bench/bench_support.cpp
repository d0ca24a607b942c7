#include "bench_support.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <vector>

#include "system/platform.h"

extern char** environ;

namespace {

std::atomic<std::uint64_t> allocations{0};

void* counted_allocation(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

}  // namespace

// Every allocation of the program goes through these, so that a benchmark can tell how many
// its loop made.
void* operator new(std::size_t size) {
    return counted_allocation(size);
}
void* operator new[](std::size_t size) {
    return counted_allocation(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace tavrix::bench {
namespace {

class ScratchDirectory {
  public:
    ScratchDirectory() {
        const char* chosen = std::getenv("TAVRIX_BENCH_DIR");
        const std::filesystem::path base = chosen ? chosen : "/dev/shm";
        path_ = (base / ("tavrix-bench-" + std::to_string(getpid()))).string();
        std::filesystem::create_directories(path_);
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace

const std::string& scratch_directory() {
    static const ScratchDirectory directory;
    return directory.path();
}

std::string scratch_path(std::string_view name) {
    return scratch_directory() + "/" + std::string(name);
}

std::unique_ptr<Form1> make_form() {
    return std::make_unique<Form1>(system_platform());
}

std::uint64_t allocation_count() {
    return allocations.load(std::memory_order_relaxed);
}

void report_allocations(benchmark::State& state, const char* name, std::uint64_t before,
                        double per) {
    const auto made = static_cast<double>(allocation_count() - before);
    state.counters[name] = made / (per * static_cast<double>(state.iterations()));
}

std::string read_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return std::move(content).str();
}

// Asks tavrix_peak_of to run the script in the scratch folder and reads its one line.
std::optional<ProcessFigures> run_script(const std::string& script) {
    std::vector<std::string> words{TAVRIX_PEAK_OF_PROGRAM, scratch_directory(),
                                   TAVRIX_SCRIPT_PROGRAM, script};
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    std::array<int, 2> pipe_ends{};
    if (pipe(pipe_ends.data()) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
    pid_t launcher = 0;
    const int spawned = posix_spawn(&launcher, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    std::array<char, 128> line{};
    const ssize_t length = spawned == 0 ? read(pipe_ends[0], line.data(), line.size() - 1) : -1;
    close(pipe_ends[0]);
    int status = 0;
    if (spawned != 0 || waitpid(launcher, &status, 0) != launcher || length <= 0)
        return std::nullopt;

    ProcessFigures figures;
    long long wall_ns = 0;
    if (std::sscanf(line.data(), "%d %lld %ld", &figures.exit_code, &wall_ns, &figures.peak_kib) !=
        3)
        return std::nullopt;
    figures.wall_seconds = static_cast<double>(wall_ns) * 1e-9;
    return figures;
}

}  // namespace tavrix::bench
