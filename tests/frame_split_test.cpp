// An action's frames said as rows of ranges: expanding the rows, one after another, with the
// expansion that "Generar!" uses must give back exactly the frames, in no more rows than
// the frames were made from.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/encoding.h"
#include "common/numbers.h"
#include "storyboard/block_writer.h"
#include "storyboard/frame_expansion.h"
#include "storyboard/frame_split.h"
#include "support/memory_output.h"

namespace tavrix {
namespace {

using Frames = std::vector<std::array<std::string, kRangeCount>>;

// The frames that the expansion writes for a row; none when it fails.
Frames expanded(const RangeRow& row) {
    auto file = std::make_shared<fuzz::MemoryFile>();
    fuzz::MemoryOutput output(file);
    const RunSettings settings{append_windows_1252, {}, 0};
    Frames frames;
    {
        BlockWriter writer(output, settings);
        if (!expand_frames(range_row(row.from, row.to), 0, append_windows_1252, writer).ok() ||
            !writer.flush().ok())
            return {};
    }
    (void)output.commit();
    for (const std::string& line : testing::split_crlf_lines(file->committed)) {
        std::array<std::string, kRangeCount> values;
        std::size_t at = 0;
        for (std::size_t r = 0; r < kRangeCount; ++r) {
            const std::size_t comma = r + 1 < kRangeCount ? line.find(',', at) : line.size();
            values[r] = line.substr(at, comma - at);
            at = comma + 1 + (r % 2 == 1 ? 1 : 0);  // ", " after the image and the Y
        }
        frames.push_back(values);
    }
    return frames;
}

// Splits the frames and expands the rows again: the frames taken must come back as they were.
FrameSplit split_and_check(const Frames& frames, std::size_t max_rows = 10) {
    std::vector<FrameValues> views;
    for (const auto& frame : frames)
        views.push_back({frame[0], frame[1], frame[2], frame[3], frame[4]});
    const FrameSplit split = split_frames(views, max_rows);
    Frames back;
    for (const RangeRow& row : split.rows) {
        const Frames part = expanded(row);
        EXPECT_FALSE(part.empty()) << "a row that does not expand: " << row.from[0];
        back.insert(back.end(), part.begin(), part.end());
    }
    EXPECT_EQ(back, Frames(frames.begin(),
                           frames.begin() + static_cast<std::ptrdiff_t>(split.frames_taken)));
    return split;
}

TEST(Split, StopsAtAFrameNoRowGives) {
    const FrameSplit split =
        split_and_check({{"0", "0", "0", "0", "1"}, {"0", "0", "0", "0", "-"}});
    EXPECT_EQ(split.frames_taken, 1u);
}

// Frames made from random rows, and random frames that no row made: whatever is taken comes
// back, and frames made from n rows need no more than n.
TEST(Split, AnyFramesComeBackAsTheyWere) {
    std::mt19937 random(20240611);
    const std::vector<std::string> values = {"0",   "1",   "2",     "3",   "7",  "-1",  "-4",  "12",
                                             "0.5", "2.5", "-3.75", "007", "99", "100", "-100"};
    const auto pick = [&] { return values[random() % values.size()]; };
    for (int round = 0; round < 400; ++round) {
        Frames frames;
        const std::size_t made_from = 1 + random() % 12;
        for (std::size_t i = 0; i < made_from; ++i) {
            RangeRow made;
            for (std::size_t r = 0; r < kRangeCount; ++r) {
                made.from[r] = pick();
                made.to[r] = random() % 3 == 0 ? made.from[r] : pick();
            }
            Frames part = expanded(made);
            if (round % 4 == 3 && !part.empty())
                part.resize(1 + random() % part.size());  // a row's first frames are a row's too
            frames.insert(frames.end(), part.begin(), part.end());
        }
        if (frames.empty())
            continue;
        const FrameSplit split = split_and_check(frames);
        EXPECT_LE(split.rows.size(), made_from) << "round " << round;
        if (split.rows.size() < 10) {
            EXPECT_EQ(split.frames_taken, frames.size()) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace tavrix
