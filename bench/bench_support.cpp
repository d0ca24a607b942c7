#include "bench_support.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>

#include "system/platform.h"

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

}  // namespace tavrix::bench
