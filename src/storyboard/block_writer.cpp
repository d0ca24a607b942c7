#include "storyboard/block_writer.h"

namespace tavrix {

using namespace std::string_view_literals;

void BlockWriter::text_line(std::span<const std::string_view> parts) {
    line_.clear();
    // The code page never takes more bytes than UTF-8: a huge field is copied once, not
    // regrown.
    std::size_t size = 2;
    for (std::string_view part : parts)
        size += part.size();
    line_.reserve(size);
    for (std::string_view part : parts)
        settings_.encode(part, line_);
    line_.append("\r\n"sv);
    block_.append(line_);
}

Status<BlockFailure> BlockWriter::flush() {
    const std::string_view bytes = block_.view();
    if (bytes.empty())
        return Success{};
    const IoStatus status = output_.write(bytes);
    if (!status.ok())
        return BlockFailure{status.was_cancelled(), status.reason()};
    bytes_ += bytes.size();
    block_.clear();
    if (!still_wanted())
        return BlockFailure{true, {}};
    return Success{};
}

}  // namespace tavrix
