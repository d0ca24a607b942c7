#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "support/memory_output.h"

namespace tavrix {
namespace {

using C = ControlId;
using testing::MemoryForm;
using testing::run_failure;
using Lines = std::vector<std::string>;

const Lines kDefaultFile = {
    "[SceneDef]",
    "spr = intro.sff",
    "",
    ";------------------------------------",
    "[Scene 0]",
    "; Screen Color",
    "clearcolor = 0,0,0",
    "",
    "; Overlay Anims (from 0 to 9)",
    "layerall.pos = 0,0",
    "layer0.anim = 0",
    "layer0.offset = 0,0",
    "layer0.starttime = 0",
    "",
    "[Begin action 0]",
    "0,0, 0,0, 0",
    " ",
    "; Tiempo =  0",
    "; Tics =  0",
};

TEST(Generar, DefaultFieldsWriteNineteenLinesEndedByCrLf) {
    MemoryForm f;
    EXPECT_EQ(f.generate(), kDefaultFile);
    std::string expected;
    for (const auto& line : kDefaultFile)
        expected += line + "\r\n";
    EXPECT_EQ(f.file->committed, expected);
    EXPECT_EQ(f.file->path, "c:\\intro.def");
    EXPECT_EQ(f.text(C::ticsI), "0");
    EXPECT_EQ(f.text(C::tiempoI), "0");
}

TEST(Generar, AllFourOptionBoxesWriteThirtyEightLinesInOrder) {
    MemoryForm f;
    for (C box : {C::Check6, C::Check7, C::Check8, C::Check9})
        f.click(box);
    const Lines expected = {
        "[SceneDef]",
        "spr = intro.sff",
        "startscene = 0",
        "",
        ";------------------------------------",
        "[Scene 0]",
        ";Fade",
        "fadein.time = ",
        "fadein.col = 0,0,0",
        "fadeout.time = ",
        "fadeout.col = 0,0,0",
        "",
        "; Screen Color",
        "clearcolor = 0,0,0",
        "",
        "; Overlay Anims (from 0 to 9)",
        "layerall.pos = 0,0",
        "layer0.anim = 0",
        "layer0.offset = 0,0",
        "layer0.starttime = 0",
        "",
        "; Music",
        "bgm = c:\\sound.mp3",
        "bgm.loop = 0",
        "",
        "[BG1Def]",
        "",
        "[BG1]",
        "type = Anim",
        "Actionno = 0",
        "start = 0,0",
        "mask = 1",
        "",
        "[Begin action 0]",
        "0,0, 0,0, 0",
        " ",
        "; Tiempo =  0",
        "; Tics =  0",
    };
    EXPECT_EQ(f.generate(), expected);
}

TEST(Generar, FieldsAreWrittenVerbatimFromWhereTheyStand) {
    MemoryForm f;
    f.click(C::Check6);
    f.click(C::Check8);
    const std::pair<C, const char*> edits[] = {
        {C::Text12, " mi.sff"}, {C::ttika, "007"},   {C::Text25, "1"},  {C::Text26, "2"},
        {C::Text27, "3"},       {C::tikdd, "12abc"}, {C::rojo, "-7"},   {C::verde, "8"},
        {C::azul, "9"},         {C::Text17, "-"},    {C::Text18, "4"},  {C::Text16, "5"},
        {C::Text15, "6"},       {C::Text20, "7"},    {C::Text19, "8"},  {C::Text24, "9"},
        {C::Text23, "-1"},      {C::Text22, "-2"},   {C::Text21, "77"}, {C::ndees, "3"},
        {C::cantA, "4"},
    };
    for (const auto& [id, text] : edits)
        f.type(id, text);
    const Lines lines = f.generate();
    const Lines expected_head = {
        "[SceneDef]",
        "spr =  mi.sff",
        "",
        ";------------------------------------",
        "[Scene 0]",
        ";Fade",
        "fadein.time = 007",
        "fadein.col = 1,2,3",
        "fadeout.time = 12abc",
        "fadeout.col = 0,0,0",
        "",
        "; Screen Color",
        "clearcolor = -7,8,9",
        "",
        "; Overlay Anims (from 0 to 9)",
        "layerall.pos = -,4",
        "layer0.anim = 5",
        "layer0.offset = 6,7",
        "layer0.starttime = 8",
        "",
        "[BG1Def]",
        "",
        "[BG1]",
        "type = Anim",
        "Actionno = 9",
        "start = -1,-2",
        "mask = 1",
        "",
        "[Begin action 5]",
    };
    ASSERT_GE(lines.size(), expected_head.size());
    const Lines head(lines.begin(), lines.begin() + static_cast<long>(expected_head.size()));
    EXPECT_EQ(head, expected_head);
}

struct ExpansionCase {
    const char* name;
    bool clear_speed_box;
    std::vector<std::pair<C, const char*>> edits;
    Lines frames;
    const char* tics;
    const char* tiempo;
};

class Expansion : public ::testing::TestWithParam<ExpansionCase> {};

TEST_P(Expansion, WritesTheFrameLinesAndTotals) {
    const ExpansionCase& c = GetParam();
    MemoryForm f;
    if (c.clear_speed_box)
        f.click(C::Check5);
    for (const auto& [id, text] : c.edits)
        f.type(id, text);
    const Lines lines = f.generate();
    const auto begin = std::find(lines.begin(), lines.end(), "[Begin action 0]");
    ASSERT_NE(begin, lines.end());
    ASSERT_GE(lines.end() - begin, 4);
    const Lines frames(begin + 1, lines.end() - 3);
    EXPECT_EQ(frames, c.frames);
    EXPECT_EQ(f.text(C::ticsI), c.tics);
    EXPECT_EQ(f.text(C::tiempoI), c.tiempo);
    EXPECT_EQ(f.form.tick_total(), std::stoi(c.tics));
    EXPECT_EQ(lines.back(), std::string("; Tics = ") + (c.tics[0] == '-' ? "" : " ") + c.tics);
}

INSTANTIATE_TEST_SUITE_P(
    Generar, Expansion,
    ::testing::Values(
        ExpansionCase{"WorkedExample",
                      false,
                      {{C::Text5, "3"}, {C::Text3, "10"}, {C::Text6, "7"}, {C::Text8, "15"}},
                      {"0,0, 10,0, 15", "0,1, 9,0, 15", "0,2, 8,0, 15", "0,3, 7,0, 15"},
                      "60",
                      "1"},
        ExpansionCase{"GroupBelowItsStartStays",
                      false,
                      {{C::Text1, "5"}, {C::Text4, "2"}, {C::Text6, "3"}},
                      {"5,0, 0,0, 0", "5,0, 1,0, 0", "5,0, 2,0, 0", "5,0, 3,0, 0"},
                      "0",
                      "0"},
        ExpansionCase{"XCrossesZero",
                      false,
                      {{C::Text3, "-2"}, {C::Text6, "2"}},
                      {"0,0, -2,0, 0", "0,0, -1,0, 0", "0,0, 0,0, 0", "0,0, 1,0, 0", "0,0, 2,0, 0"},
                      "0",
                      "0"},
        ExpansionCase{"YMovesDown",
                      false,
                      {{C::Text7, "1"}, {C::Text9, "-1"}},
                      {"0,0, 0,1, 0", "0,0, 0,0, 0", "0,0, 0,-1, 0"},
                      "0",
                      "0"},
        ExpansionCase{"MovingSpeedAddsEachFramesSpeed",
                      true,
                      {{C::Text8, "2"}, {C::Text10, "4"}, {C::Text6, "4"}},
                      {"0,0, 0,0, 2", "0,0, 1,0, 3", "0,0, 2,0, 4", "0,0, 3,0, 4", "0,0, 4,0, 4"},
                      "17",
                      "0.283333333333333"},
        ExpansionCase{"MovingSpeedAloneMakesFrames",
                      true,
                      {{C::Text8, "1"}, {C::Text10, "3"}},
                      {"0,0, 0,0, 1", "0,0, 0,0, 2", "0,0, 0,0, 3"},
                      "6",
                      "0.1"},
        ExpansionCase{"TypedTextStaysUntilItMoves",
                      false,
                      {{C::Text1, "007"}, {C::Text4, "007"}, {C::Text2, "007"}, {C::Text5, "9"}},
                      {"007,007, 0,0, 0", "007,8, 0,0, 0", "007,9, 0,0, 0"},
                      "0",
                      "0"},
        ExpansionCase{"LoneMinusNeverMoves", false, {{C::Text3, "-"}}, {"0,0, -,0, 0"}, "0", "0"},
        ExpansionCase{"FractionalEndsBelowItsTarget",
                      false,
                      {{C::Text3, "0"}, {C::Text6, "2.5"}, {C::Text7, "3"}, {C::Text9, "2.5"}},
                      {"0,0, 0,3, 0", "0,0, 1,2, 0", "0,0, 2,2, 0"},
                      "0",
                      "0"},
        ExpansionCase{"FractionalStartSteps",
                      false,
                      {{C::Text3, "0.5"}, {C::Text6, "2"}, {C::Text8, "6"}},
                      {"0,0, 0.5,0, 6", "0,0, 1.5,0, 6"},
                      "12",
                      "0.2"},
        ExpansionCase{"HalfTicksRoundToEven",
                      false,
                      {{C::Text8, "2.5"}, {C::Text6, "3"}},
                      {"0,0, 0,0, 2.5", "0,0, 1,0, 2.5", "0,0, 2,0, 2.5", "0,0, 3,0, 2.5"},
                      "8",
                      "0.133333333333333"},
        ExpansionCase{
            "NegativeTotal", false, {{C::Text8, "-90"}}, {"0,0, 0,0, -90"}, "-90", "-1.5"}),
    [](const ::testing::TestParamInfo<ExpansionCase>& info) { return info.param.name; });

TEST(Generar, TimeBetweenMinusOneAndOneKeepsItsZero) {
    MemoryForm f;
    f.type(C::Text8, "6");
    f.type(C::Text6, "4");
    const Lines lines = f.generate();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "; Tiempo =  0.5");
    EXPECT_EQ(lines.back(), "; Tics =  30");
}

TEST(Generar, EveryRunStartsItsTickTotalAtZero) {
    MemoryForm f;
    f.type(C::Text8, "15");
    f.generate();
    EXPECT_EQ(f.text(C::ticsI), "15");
    f.generate();
    EXPECT_EQ(f.text(C::ticsI), "15");
    EXPECT_EQ(f.form.tick_total(), 15);
}

TEST(Generar, ShowingAnotherSceneStillWritesSceneZeroWithTheShownValues) {
    MemoryForm f;
    f.type(C::ndees, "5");
    f.click(C::botsig);
    f.click(C::botsig);
    ASSERT_EQ(f.caption(C::Escena), "2");
    f.type(C::rojo, "200");
    const Lines lines = f.generate();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "[Scene 0]"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "clearcolor = 200,0,0"), lines.end());
}

TEST(Generar, WritesTheFileInWindows1252) {
    MemoryForm f;
    f.type(C::Text12, "año€中.sff");
    f.generate();
    EXPECT_NE(f.file->committed.find("spr = a\xF1o\x80?.sff\r\n"), std::string::npos);
}

TEST(Generar, NeitherReadsNorChangesTheStore) {
    MemoryForm f;
    f.type(C::rojo, "12");
    const auto stored = f.form.store().at(TableId::esc_rojo, {0, 0});
    f.generate();
    EXPECT_EQ(f.form.store().at(TableId::esc_rojo, {0, 0}), stored);
}

// A run that cannot complete leaves everything as it was before the run.
struct FailureCase {
    const char* name;
    std::vector<std::pair<C, const char*>> edits;
    FailureCause cause;
    std::vector<std::string> message_parts;
};

class FailedRun : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailedRun, ChangesNothing) {
    const FailureCase& c = GetParam();
    MemoryForm f;
    f.type(C::Text8, "3");
    const Lines earlier = f.generate();
    const std::string earlier_bytes = f.file->committed;
    for (const auto& [id, text] : c.edits)
        f.type(id, text);
    f.click(C::Command1);
    const auto& failure = run_failure(f.form);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->cause, c.cause);
    for (const std::string& part : c.message_parts) {
        EXPECT_NE(failure->message.find(part), std::string::npos) << failure->message;
    }
    EXPECT_EQ(f.file->committed, earlier_bytes);
    EXPECT_EQ(f.text(C::ticsI), "3");
    EXPECT_EQ(f.text(C::tiempoI), "0.05");
    EXPECT_EQ(f.form.tick_total(), 3);
}

INSTANTIATE_TEST_SUITE_P(Generar, FailedRun,
                         ::testing::Values(FailureCase{"SpeedIsALoneMinus",
                                                       {{C::Text8, "-"}},
                                                       FailureCause::Field,
                                                       {"\"c:\\intro.def\"", "\"-\"",
                                                        "Velocidad:", "Text8", "no es un número"}},
                                           FailureCase{"SpeedHasTrailingLetters",
                                                       {{C::Text8, "5abc"}},
                                                       FailureCause::Field,
                                                       {"\"5abc\"", "Velocidad:"}},
                                           FailureCase{"MovingRangeIsNotANumber",
                                                       {{C::Text3, "1x"}, {C::Text6, "5"}},
                                                       FailureCause::Field,
                                                       {"\"1x\"", "\"X:\"", "Text3"}},
                                           FailureCase{"TickTotalLeavesItsRange",
                                                       {{C::Text8, "2147483647"}, {C::Text6, "1"}},
                                                       FailureCause::TickTotal,
                                                       {"\"c:\\intro.def\"", "tics"}}),
                         [](const ::testing::TestParamInfo<FailureCase>& info) {
                             return info.param.name;
                         });

TEST(Generar, AStillRangeMayHoldAnyText) {
    MemoryForm f;
    f.type(C::Text3, "5abc");
    f.type(C::Text6, "5");
    const Lines lines = f.generate();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "0,0, 5abc,0, 0"), lines.end());
}

TEST(Generar, AFileThatCannotBeCreatedIsReportedWithPathAndReason) {
    MemoryForm f;
    f.type(C::Text8, "3");
    f.generate();
    f.file->fail_open = "la carpeta no existe";
    f.type(C::Text11, "/no/hay/tal/intro.def");
    f.click(C::Command1);
    const auto& failure = run_failure(f.form);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->cause, FailureCause::File);
    EXPECT_EQ(failure->message,
              "No se pudo crear el archivo \"/no/hay/tal/intro.def\": la carpeta no existe.");
    EXPECT_EQ(f.text(C::ticsI), "3");
}

}  // namespace
}  // namespace tavrix
