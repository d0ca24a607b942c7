// The output side of a "Generar!" run: bytes kept with spare room after them, so that they
// can be copied in fixed-size pieces, and the writer that gathers the file's lines and hands
// them to the Output in large blocks.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "common/expected.h"
#include "storyboard/writer.h"
#include "system/output.h"

namespace tavrix {

inline constexpr std::size_t kBlockSize = 64 * 1024;

// Bytes are copied in pieces of this size: a fixed size compiles to a few vector moves, where
// a frame line's own length would cost a library call per frame. Both sides of a copy keep
// this many spare bytes after their content, so the piece may run past it.
inline constexpr std::size_t kPiece = 32;

inline void copy_in_pieces(const char* from, std::size_t size, char* to) {
    for (std::size_t at = 0; at < size; at += kPiece)
        std::memcpy(to + at, from + at, kPiece);
}

// Bytes followed by kPiece spare bytes, ready to be copied in pieces.
class PaddedBytes {
  public:
    explicit PaddedBytes(std::size_t room = 0) : storage_(room + kPiece, '\0') {}

    std::string_view view() const { return {storage_.data(), size_}; }

    void clear() { size_ = 0; }
    void append(std::string_view bytes) {
        reserve(bytes.size());
        bytes.copy(storage_.data() + size_, bytes.size());
        size_ += bytes.size();
    }
    // Makes room for `more` bytes at the end, and kPiece spare bytes after them, and gives
    // where they go; the caller fills them.
    char* extend(std::size_t more) {
        reserve(more);
        char* end = storage_.data() + size_;
        size_ += more;
        return end;
    }

    std::size_t size() const { return size_; }
    const char* data() const { return storage_.data(); }
    char* data() { return storage_.data(); }

  private:
    void reserve(std::size_t more) {
        if (storage_.size() < size_ + more + kPiece)
            storage_.resize(std::max(2 * storage_.size(), size_ + more + kPiece));
    }

    std::string storage_;
    std::size_t size_ = 0;
};

// Why a block did not reach the output.
struct BlockFailure {
    bool cancelled;      // the progress hook asked to stop
    std::string reason;  // otherwise, the output's reason in Spanish
};

// Whether the frame lines reach the output, or only their count and size (a pass that
// counts ticks before the real one).
enum class LineBytes : std::uint8_t { Kept, Dropped };

// Collects encoded lines and hands them to the output in blocks of at least 64 KiB.
class BlockWriter {
  public:
    // While a write waits for a slow reader, the progress hook is asked again, so that the
    // person can still cancel. With the lines dropped, the block fills and flushes as it
    // would, and the hook is asked as often, but the bytes in it are left unwritten.
    BlockWriter(Output& output, const RunSettings& settings, LineBytes lines = LineBytes::Kept)
        : output_(output), settings_(settings), keeps_lines_(lines == LineBytes::Kept) {
        output_.set_wait_hook([this] { return still_wanted(); });
    }
    ~BlockWriter() { output_.set_wait_hook(nullptr); }
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    void text_line(std::initializer_list<std::string_view> parts) {
        text_line(std::span<const std::string_view>(parts.begin(), parts.size()));
    }
    void text_line(std::span<const std::string_view> parts);

    // Room at the end of the block for lines already in the file's code page, with their
    // line ends; the caller writes them there.
    char* extend(std::size_t bytes) { return block_.extend(bytes); }

    // How many lines of `size` bytes fill the block: at least one.
    std::size_t lines_to_fill(std::size_t size) const {
        const std::size_t held = block_.size();
        return held >= kBlockSize ? 1 : (kBlockSize - held + size - 1) / size;
    }

    bool block_full() const { return block_.size() >= kBlockSize; }
    // Whether the frame lines written at extend() are wanted: not in a pass that only counts.
    bool keeps_lines() const { return keeps_lines_; }

    // Counts frame lines written into the block, for the progress reports.
    void add_frames(std::uint64_t frames) { frames_ += frames; }

    // Writes what is buffered; a failure or a cancellation ends the run.
    Status<BlockFailure> flush();

  private:
    bool still_wanted() const {
        return !settings_.progress || settings_.progress(RunProgress{frames_, bytes_});
    }

    Output& output_;
    const RunSettings& settings_;
    // Room for a full block and the line that fills it, so that memory does not grow with
    // the number of frames.
    PaddedBytes block_{kBlockSize + 1024};
    std::string line_;
    std::uint64_t frames_ = 0;
    std::uint64_t bytes_ = 0;
    bool keeps_lines_;
};

}  // namespace tavrix
