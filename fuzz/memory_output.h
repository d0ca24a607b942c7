// An Output that keeps nothing but a byte count and refuses to grow past a budget, as a
// full disk would, so that a runaway range in a fuzz input ends quickly and cleanly.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "storyboard/output.h"

namespace tavrix::fuzz {

class BudgetOutput final : public Output {
  public:
    explicit BudgetOutput(std::size_t budget) : budget_(budget) {}

    IoStatus open(std::string_view) override {
        written_ = 0;
        return IoStatus::success();
    }
    IoStatus write(std::string_view bytes) override {
        if (bytes.size() > budget_ - written_)
            return IoStatus::failure("no queda espacio en el disco");
        written_ += bytes.size();
        return IoStatus::success();
    }
    IoStatus commit() override { return IoStatus::success(); }
    void abandon() noexcept override {}

  private:
    std::size_t budget_;
    std::size_t written_ = 0;
};

inline OutputFactory budget_output_factory(std::size_t budget) {
    return [budget] { return std::make_unique<BudgetOutput>(budget); };
}

}  // namespace tavrix::fuzz
