#include "bench_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/encoding.h"
#include "storyboard/system_output.h"

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
    return std::make_unique<Form1>(Platform{system_output_factory(), append_windows_1252});
}

std::string read_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return std::move(content).str();
}

}  // namespace tavrix::bench
