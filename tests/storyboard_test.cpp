// A storyboard of several scenes, which no window writes yet: each scene gets its own
// section and background, scenes that play the same action number share one action, and
// "Comprobar" names the scene of each finding.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "storyboard/check.h"
#include "storyboard/on_screen.h"
#include "support/memory_output.h"

namespace tavrix {
namespace {

using C = ControlId;
using testing::MemoryForm;

// Three scenes from the one on screen (X from 0 to 2 at speed 1, with a background): the
// second plays the first one's action, the third its own, of two rows.
Storyboard three_scenes() {
    MemoryForm f;
    f.type(C::Text6, "2");
    f.type(C::Text8, "1");
    f.click(C::Check8);
    Storyboard storyboard = storyboard_on_screen(f.form.window(), true);
    storyboard.scenes.resize(3, storyboard.scenes[0]);
    Storyboard::Scene& third = storyboard.scenes[2];
    third.layer.animation = "1";
    third.action.push_back(third.action[0]);
    return storyboard;
}

TEST(Storyboard, EachSceneHasItsSectionAndEachActionNumberOneAction) {
    const Storyboard storyboard = three_scenes();
    auto file = std::make_shared<fuzz::MemoryFile>();
    fuzz::MemoryOutput output(file);
    const RunResult run =
        write_storyboard(storyboard, "out.def", output, RunSettings{append_windows_1252, {}, 0});
    ASSERT_TRUE(run.ok()) << run.error().message;
    EXPECT_EQ(run.value().ticks, 3 + 6);

    const std::vector<std::string> lines = testing::split_crlf_lines(file->committed);
    std::vector<std::string> sections;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(sections), [](const auto& line) {
        return line.starts_with("[") || line.starts_with("end.time") ||
               line.starts_with("bg.name") || line.starts_with("; Tics");
    });
    const std::vector<std::string> expected{
        "[SceneDef]",    "[Scene 0]",        "end.time = 3", "bg.name = BG1",    "[BG1Def]",
        "[BG1]",         "[Begin action 0]", "; Tics =  3",  "[Scene 1]",        "end.time = 3",
        "bg.name = BG2", "[BG2Def]",         "[BG2]",        "[Scene 2]",        "end.time = 6",
        "bg.name = BG3", "[BG3Def]",         "[BG3]",        "[Begin action 1]", "; Tics =  6"};
    EXPECT_EQ(sections, expected);
    const auto action = std::find(lines.begin(), lines.end(), "[Begin action 1]");
    EXPECT_EQ(std::vector<std::string>(action + 1, action + 7),
              (std::vector<std::string>{"0,0, 0,0, 1", "0,0, 1,0, 1", "0,0, 2,0, 1", "0,0, 0,0, 1",
                                        "0,0, 1,0, 1", "0,0, 2,0, 1"}));
    EXPECT_EQ(measure_run(storyboard, append_windows_1252).frames, 9U);
}

TEST(Storyboard, CheckNamesTheSceneOfEachFinding) {
    Storyboard storyboard = three_scenes();
    storyboard.scenes[1].engine_keys = false;
    storyboard.scenes[2].action[1][kX].to = "40000";
    const std::vector<std::string> findings = check_storyboard(storyboard, "out.def", {});
    ASSERT_EQ(findings.size(), 3U);
    EXPECT_TRUE(findings[0].starts_with("Escena 1: La escena no tiene end.time"));
    EXPECT_TRUE(findings[1].starts_with("Escena 1: Máscara:"));
    // The second row's frames follow the first row's three.
    EXPECT_EQ(findings[2],
              "Escena 2: X: hay un valor fuera de -32768 a 32767 en 7233 marcos "
              "(del 32772 al 40004); el motor guarda 16 bits y el valor da la vuelta.");
}

}  // namespace
}  // namespace tavrix
