// The storyboard in memory, for the fuzz targets and the tests: what the latest committed
// run wrote, read back by whoever shares the file. A budget makes it refuse to grow, as a
// full disk would, so that a runaway range in a fuzz input ends quickly and cleanly.
#pragma once

#include <cstddef>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "system/output.h"

namespace tavrix::fuzz {

struct MemoryFile {
    std::string committed;
    bool ever_committed = false;
};

class MemoryOutput final : public Output {
  public:
    explicit MemoryOutput(std::shared_ptr<MemoryFile> file,
                          std::size_t budget = std::numeric_limits<std::size_t>::max())
        : file_(std::move(file)), budget_(budget) {}

    IoStatus open(std::string_view) override { return IoStatus::success(); }
    IoStatus write(std::string_view bytes) override {
        if (bytes.size() > budget_ - pending_.size())
            return IoStatus::failure("no queda espacio en el disco");
        pending_.append(bytes);
        return IoStatus::success();
    }
    IoStatus commit() override {
        file_->committed = std::move(pending_);
        file_->ever_committed = true;
        return IoStatus::success();
    }
    void abandon() noexcept override { pending_.clear(); }

  private:
    std::shared_ptr<MemoryFile> file_;
    std::size_t budget_;
    std::string pending_;
};

inline OutputFactory memory_output_factory(std::shared_ptr<MemoryFile> file, std::size_t budget) {
    return [file, budget] { return std::make_unique<MemoryOutput>(file, budget); };
}

}  // namespace tavrix::fuzz
