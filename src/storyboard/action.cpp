#include "storyboard/action.h"

namespace tavrix {
namespace {

// FNV-1a over every byte the expansion writes: frame lines are compared without keeping them.
// Hashes what is written; past `budget` bytes it refuses the next block, which ends the run.
class FingerprintOutput final : public Output {
  public:
    explicit FingerprintOutput(std::uint64_t budget) : budget_(budget) {}

    IoStatus open(std::string_view) override { return IoStatus::success(); }
    IoStatus write(std::string_view bytes) override {
        if (print_.bytes >= budget_) {
            stopped_ = true;
            return IoStatus::cancelled();
        }
        for (const char c : bytes) {
            print_.hash ^= static_cast<unsigned char>(c);
            print_.hash *= 0x100000001b3ULL;
        }
        print_.bytes += bytes.size();
        return IoStatus::success();
    }
    IoStatus commit() override { return IoStatus::success(); }
    void abandon() noexcept override {}

    const ActionFingerprint& print() const { return print_; }
    bool stopped() const { return stopped_; }

  private:
    std::uint64_t budget_;
    ActionFingerprint print_{0xcbf29ce484222325ULL, 0};
    bool stopped_ = false;
};

}  // namespace

void append_as_typed(std::string_view utf8, std::string& out) {
    out.append(utf8);
}

std::optional<std::int32_t> action_ticks(std::span<const Storyboard::Row> rows) {
    DiscardOutput discard;
    const RunSettings settings{append_as_typed, {}, 0};
    BlockWriter writer(discard, settings, LineBytes::Dropped);
    const auto ticks = expand_action(rows, append_as_typed, writer);
    if (!ticks.ok())
        return std::nullopt;
    return ticks.value();
}

Expected<std::int32_t, RowFailure> expand_action(std::span<const Storyboard::Row> rows,
                                                 Encoder encode, BlockWriter& writer) {
    std::int32_t ticks = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto expanded = expand_frames(rows[i], ticks, encode, writer);
        if (!expanded.ok())
            return RowFailure{i, expanded.error()};
        ticks = expanded.value();
    }
    return ticks;
}

std::optional<ActionFingerprint> fingerprint(std::span<const Storyboard::Row> rows, Encoder encode,
                                             std::uint64_t budget) {
    FingerprintOutput output(budget);
    const RunSettings settings{encode, {}, 0};
    {
        BlockWriter writer(output, settings);
        const bool expanded = expand_action(rows, encode, writer).ok() && writer.flush().ok();
        if (!expanded && !output.stopped())
            return std::nullopt;
    }
    ActionFingerprint print = output.print();
    print.whole = !output.stopped();
    return print;
}

}  // namespace tavrix
