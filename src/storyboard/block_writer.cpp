#include "storyboard/block_writer.h"

namespace tavrix {

using namespace std::string_view_literals;

void BlockWriter::text_line(std::initializer_list<std::string_view> parts) {
    line_.clear();
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
        return BlockFailure{false, status.reason()};
    bytes_ += bytes.size();
    block_.clear();
    if (settings_.progress && !settings_.progress(RunProgress{frames_, bytes_}))
        return BlockFailure{true, {}};
    return Success{};
}

}  // namespace tavrix
