// The frame expansion counts small whole numbers in their digits and writes runs of frames
// without testing each step. These cases cross every digit boundary that counting handles
// specially, and check the lines against the stepping rule applied one frame at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/numbers.h"
#include "model/ranges.h"
#include "storyboard/frame_count.h"
#include "storyboard/range_walk.h"
#include "support/memory_output.h"

namespace tavrix {
namespace {

using C = ControlId;
using testing::MemoryForm;
using Lines = std::vector<std::string>;

// The "Desde:" and "Hasta:" texts of the five ranges, in range order.
using Ranges = std::array<std::pair<std::string, std::string>, kRangeCount>;

using Values = std::array<std::string, kRangeCount>;

// The expansion's rule, step by step and without shortcuts: parse, step, format, compare.
// Gives the five values of each frame.
std::vector<Values> expected_values(const Ranges& ranges) {
    Values values;
    for (std::size_t i = 0; i < kRangeCount; ++i)
        values[i] = ranges[i].first;
    auto step = [&](std::size_t i, double delta) {
        values[i] = number_text(*strict_number(values[i]) + delta);
    };
    std::vector<Values> frames{values};
    for (;;) {
        for (std::size_t i = 0; i < kRangeCount; ++i) {
            if (leading_number(ranges[i].second) - 1 >= leading_number(values[i]))
                step(i, +1);
        }
        for (std::size_t i : {std::size_t{kX}, std::size_t{kY}}) {
            if (leading_number(ranges[i].second) < leading_number(values[i]))
                step(i, -1);
        }
        if (values == frames.back())
            return frames;
        frames.push_back(values);
    }
}

// A frame's line in the file's code page.
std::string line_of(const Values& values) {
    std::string encoded;
    append_windows_1252(values[kGroup] + "," + values[kImage] + ", " + values[kX] + "," +
                            values[kY] + ", " + values[kSpeed],
                        encoded);
    return encoded;
}

// The frame lines of a run with the ranges typed in, and the texts that the fields then hold
// (the field rules may have normalised them).
Lines generated_frames(const Ranges& typed, Ranges& held) {
    MemoryForm f;
    f.click(C::Check5);  // the speed moves too
    for (std::size_t i = 0; i < kRangeCount; ++i) {
        f.type(kFrameRanges[i].from, typed[i].first);
        f.type(kFrameRanges[i].to, typed[i].second);
        held[i] = {f.text(kFrameRanges[i].from), f.text(kFrameRanges[i].to)};
    }
    const Lines lines = f.generate();
    const auto action = std::find(lines.begin(), lines.end(), "[Begin action 0]");
    if (action == lines.end() || lines.end() - action < 4)
        return {};
    return Lines(action + 1, lines.end() - 3);
}

struct CountingCase {
    const char* name;
    Ranges ranges;  // group, image, X, Y, speed
};

void PrintTo(const CountingCase& c, std::ostream* out) {
    *out << c.name;
}

class Counting : public ::testing::TestWithParam<CountingCase> {};

TEST_P(Counting, WritesWhatTheRuleSteppedOneFrameAtATimeWrites) {
    Ranges held;
    const Lines written = generated_frames(GetParam().ranges, held);
    const std::vector<Values> values = expected_values(held);
    Lines expected;
    for (const Values& frame : values)
        expected.push_back(line_of(frame));
    ASSERT_EQ(written.size(), expected.size());
    for (std::size_t frame = 0; frame < expected.size(); ++frame)
        ASSERT_EQ(written[frame], expected[frame]) << "frame " << frame;

    // Counted beforehand, without writing: the same frames and bytes.
    std::array<std::string, kRangeCount> from;
    std::array<std::string, kRangeCount> to;
    for (std::size_t i = 0; i < kRangeCount; ++i)
        std::tie(from[i], to[i]) = held[i];
    const Storyboard::Row row = range_row(from, to);
    std::uint64_t bytes = 0;
    for (const std::string& line : expected)
        bytes += line.size() + 2;
    const RunSize counted = count_frames(row, append_windows_1252);
    EXPECT_EQ(counted.frames, expected.size());
    EXPECT_EQ(counted.frame_bytes, bytes);
    EXPECT_FALSE(counted.at_least);

    // Each range's walk: its text at every frame, and how many times it changed.
    for (std::size_t i = 0; i < kRangeCount; ++i) {
        const RangeWalk walk(row[i]);
        std::uint64_t changes = 0;
        for (std::size_t frame = 0; frame < values.size(); ++frame) {
            ASSERT_EQ(walk.text_after(frame), values[frame][i])
                << "range " << i << " frame " << frame;
            changes += frame > 0 && values[frame][i] != values[frame - 1][i] ? 1 : 0;
        }
        EXPECT_EQ(walk.steps(), changes) << "range " << i;
        EXPECT_FALSE(walk.only_a_floor());
    }
}

const std::pair<std::string, std::string> kStill{"0", "0"};

INSTANTIATE_TEST_SUITE_P(
    Generar, Counting,
    ::testing::Values(
        CountingCase{"UpThroughPowersOfTen", {kStill, kStill, {"0", "1205"}, kStill, kStill}},
        CountingCase{"DownThroughPowersOfTen", {kStill, kStill, {"1205", "0"}, kStill, kStill}},
        CountingCase{"UpFromNegativeThroughZero",
                     {kStill, kStill, {"-1105", "25"}, kStill, kStill}},
        CountingCase{"DownFromPositiveThroughZero",
                     {kStill, kStill, kStill, {"25", "-1105"}, kStill}},
        CountingCase{
            "EveryRangeAtOnceWithDifferentLengths",
            {std::pair{"7", "130"}, {"95", "240"}, {"3", "-108"}, {"-99", "11"}, {"1", "12"}}},
        CountingCase{"RangesStopAtDifferentFrames",
                     {std::pair{"0", "3"}, {"8", "19"}, {"-5", "40"}, {"0", "-2"}, {"2", "9"}}},
        CountingCase{
            "TypedTextsThatAreNotNumberTexts",
            {std::pair{"007", "12"}, {"+5", "21"}, {"-0", "-13"}, {"5.0", "17"}, {" 3", "14"}}},
        CountingCase{"FractionalValuesBesideCountedOnes",
                     {std::pair{"0.5", "12"}, {"0", "25"}, {"2.25", "-9"}, {"1e1", "33"}, kStill}},
        CountingCase{"StillTextsOfAnyKindBesideACountedValue",
                     {std::pair{"5é", "0"}, {"12abc", "3"}, {"0", "57"}, {"-", "0"}, kStill}},
        CountingCase{"NearTheLargestPlainWholeNumber",
                     {kStill,
                      kStill,
                      {"999999999999990", "1000000000000003"},
                      {"-999999999999995", "-1000000000000002"},
                      kStill}},
        CountingCase{"HastaValuesBetweenWholeNumbers",
                     {std::pair{"0", "14.5"}, kStill, {"30", "7.5"}, {"-3", "-21.25"}, kStill}},
        CountingCase{"FractionsAcrossPowersOfTenAndZero",
                     {std::pair{"1e-7", "4"},
                      {"0.25", "1234.5"},
                      {"1105.75", "-30"},
                      {"-0.00005", "131"},
                      {"-2.5", "9"}}},
        CountingCase{"UpToTheLargestPlainNumberAndBeyond",
                     {kStill,
                      {"99999999990.9999", "1e11"},
                      {"999999999999990.5", "1e400"},
                      {"-999999999999990.5", "-1e400"},
                      kStill}}),
    [](const ::testing::TestParamInfo<CountingCase>& info) { return info.param.name; });

TEST(Generar, CountsALongRangeAndItsTicks) {
    MemoryForm f;
    f.type(C::Text8, "3");
    f.type(C::Text6, "199999");
    const Lines lines = f.generate();
    ASSERT_GE(lines.size(), 200'004u);
    EXPECT_EQ(lines[lines.size() - 4], "0,0, 199999,0, 3");
    EXPECT_EQ(lines[lines.size() - 4 - 123'456], "0,0, 76543,0, 3");
    EXPECT_EQ(f.text(C::ticsI), "600000");
}

}  // namespace
}  // namespace tavrix
