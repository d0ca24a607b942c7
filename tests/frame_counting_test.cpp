// The frame expansion counts small whole numbers in their digits and writes runs of frames
// without testing each step. The scenario scripts counting_*.tvs cross every digit boundary
// that counting handles specially; their golden files hold the lines that stepping the rule
// one frame at a time gives. Here the count made before a run must agree with them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/ranges.h"
#include "storyboard/frame_count.h"
#include "storyboard/on_screen.h"
#include "support/memory_output.h"

namespace tavrix {
namespace {

using C = ControlId;
using testing::MemoryForm;
using Lines = std::vector<std::string>;

// The form after the `set` lines of a counting script (its "Archivo:" aside).
void type_script(MemoryForm& f, const std::filesystem::path& script) {
    f.click(C::Check5);  // as the script's first line does: the speed moves too
    std::ifstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string action, control, text;
        words >> action >> control >> std::ws;
        std::getline(words, text);
        if (text.size() >= 2 && text.front() == '"')
            text = text.substr(1, text.size() - 2);  // these scripts quote no '"' nor '\'
        if (action == "set" && control != "Text11")
            f.type(*find_control(control), text);
    }
}

// The frame lines of a storyboard with one action, without their CR LF ends.
Lines frame_lines(const std::filesystem::path& storyboard) {
    std::ifstream file(storyboard, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    const Lines lines = testing::split_crlf_lines(bytes.str());
    const auto action = std::find(lines.begin(), lines.end(), "[Begin action 0]");
    if (action == lines.end() || lines.end() - action < 4)
        return {};
    return Lines(action + 1, lines.end() - 3);
}

TEST(Generar, CountsBeforehandTheFramesAndBytesThatTheCountingScenariosWrote) {
    const std::filesystem::path folder = TAVRIX_SOURCE_DIR "/tests/scenarios";
    int scenarios = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::filesystem::path& script = entry.path();
        if (!script.stem().string().starts_with("counting_") || script.extension() != ".tvs")
            continue;
        ++scenarios;
        MemoryForm f;
        type_script(f, script);
        const Lines written = frame_lines(std::filesystem::path(script).replace_extension(".def"));
        std::uint64_t bytes = 0;
        for (const std::string& line : written)
            bytes += line.size() + 2;
        const Storyboard on_screen = storyboard_on_screen(f.form.window(), false);
        ASSERT_EQ(on_screen.scenes[0].action.size(), 1u) << script.stem();
        const RunSize counted = count_frames(on_screen.scenes[0].action[0], append_windows_1252);
        EXPECT_EQ(counted.frames, written.size()) << script.stem();
        EXPECT_EQ(counted.frame_bytes, bytes) << script.stem();
        EXPECT_FALSE(counted.at_least) << script.stem();
    }
    EXPECT_EQ(scenarios, 13);
}

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
