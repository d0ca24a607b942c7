#include "editor/navigation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/memory_output.h"

namespace tavrix {
namespace {

using C = ControlId;
using T = TableId;
using testing::MemoryForm;
using testing::stored;

// The captions a run of presses goes through, starting from the one shown.
std::vector<std::string> walk(MemoryForm& f, C arrow, C caption, int presses) {
    std::vector<std::string> seen{f.caption(caption)};
    for (int i = 0; i < presses; ++i) {
        f.click(arrow);
        seen.push_back(f.caption(caption));
    }
    return seen;
}

using Captions = std::vector<std::string>;

struct ArrowCase {
    const char* name;
    C count_field;
    const char* count;
    C arrow;
    C caption;
    Captions expected;
};

class Arrows : public ::testing::TestWithParam<ArrowCase> {};

TEST_P(Arrows, StopWhereTheCountSays) {
    const ArrowCase& c = GetParam();
    MemoryForm f;
    f.type(c.count_field, c.count);
    // cantA is stored per scene, so a reload keeps it; ndees is not stored at all.
    EXPECT_EQ(walk(f, c.arrow, c.caption, static_cast<int>(c.expected.size()) - 1), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Navigation, Arrows,
    ::testing::Values(
        ArrowCase{"SceneCountOne", C::ndees, "1", C::botsig, C::Escena, {"0", "0", "0"}},
        ArrowCase{"SceneCountThree", C::ndees, "3", C::botsig, C::Escena, {"0", "1", "2", "2"}},
        ArrowCase{"SceneCountZero", C::ndees, "0", C::botsig, C::Escena, {"0", "0"}},
        ArrowCase{"SceneCountNegative", C::ndees, "-3", C::botsig, C::Escena, {"0", "0"}},
        ArrowCase{"SceneCountNotWhollyANumber", C::ndees, "5abc", C::botsig, C::Escena, {"0", "0"}},
        ArrowCase{"SceneCountNine",
                  C::ndees,
                  "9",
                  C::botsig,
                  C::Escena,
                  {"0", "1", "2", "3", "4", "5", "6", "7", "8", "8"}},
        ArrowCase{"SceneBackAtZero", C::ndees, "3", C::botant, C::Escena, {"0", "0"}},
        ArrowCase{"AnimationCountZero", C::cantA, "0", C::Command2, C::nroAnim, {"0", "0"}},
        ArrowCase{"AnimationCountThree",
                  C::cantA,
                  "3",
                  C::Command2,
                  C::nroAnim,
                  {"0", "1", "2", "3", "3"}},
        ArrowCase{"AnimationCountTenComparesAsText",
                  C::cantA,
                  "10",
                  C::Command2,
                  C::nroAnim,
                  {"0", "1", "2", "2"}},
        ArrowCase{"AnimationCountEmpty", C::cantA, "", C::Command2, C::nroAnim, {"0", "0"}},
        ArrowCase{
            "AnimationCountLeadingBlank", C::cantA, " 5", C::Command2, C::nroAnim, {"0", "0"}},
        ArrowCase{"AnimationCountNegative", C::cantA, "-1", C::Command2, C::nroAnim, {"0", "0"}},
        ArrowCase{"AnimationNeverPastNine",
                  C::cantA,
                  "99",
                  C::Command2,
                  C::nroAnim,
                  {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "9"}},
        ArrowCase{"AnimationCountALetter",
                  C::cantA,
                  "z",
                  C::Command2,
                  C::nroAnim,
                  {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "9"}},
        ArrowCase{"AnimationBackAtZero", C::cantA, "3", C::Command3, C::nroAnim, {"0", "0"}}),
    [](const ::testing::TestParamInfo<ArrowCase>& info) { return info.param.name; });

TEST(Navigation, FirstReloadAfterStartUpShowsTheStoreForSceneZero) {
    for (C arrow : {C::botant, C::botsig, C::Command3, C::Command2}) {
        MemoryForm f;
        f.click(arrow);
        EXPECT_EQ(f.text(C::soundfile), "") << control_def(arrow).name;
        EXPECT_EQ(f.value(C::Check5), 0);
        EXPECT_TRUE(f.form.window().visible(C::Text10));
        EXPECT_EQ(stored(f.form, T::esc_Check5), "#0");
        for (C field : {C::rojo, C::verde, C::azul, C::cantA})
            EXPECT_EQ(f.text(field), "0");
        EXPECT_EQ(f.text(C::ndees), "1");
        EXPECT_EQ(f.text(C::Text12), "intro.sff");
    }
}

TEST(Navigation, AnUnvisitedSceneLoadsAsZeros) {
    MemoryForm f;
    f.type(C::ndees, "3");
    for (C box : {C::Check6, C::Check7, C::Check8, C::Check1})
        f.click(box);
    for (C field : {C::ttika, C::tikdd, C::Text16, C::Text17, C::Text24, C::Text1, C::Text2,
                    C::Text14, C::rojo}) {
        f.type(field, "7");
    }
    ASSERT_EQ(f.text(C::Text4), "7");
    f.type(C::cantA, "4");
    f.click(C::botsig);
    ASSERT_EQ(f.caption(C::Escena), "1");
    for (C field : {C::ttika, C::tikdd, C::Text16, C::Text17, C::Text24, C::Text1, C::Text4,
                    C::Text2, C::Text14, C::rojo, C::cantA, C::Text25}) {
        EXPECT_EQ(f.text(field), "0") << control_def(field).name;
    }
    EXPECT_EQ(f.text(C::soundfile), "");
    for (C box :
         {C::Check1, C::Check2, C::Check3, C::Check4, C::Check5, C::Check6, C::Check7, C::Check8}) {
        EXPECT_EQ(f.value(box), 0) << control_def(box).name;
    }
    EXPECT_FALSE(f.form.window().enabled(C::ttika));
    EXPECT_EQ(stored(f.form, T::esc_ttika, {1, 0}), "'0'");
    EXPECT_EQ(stored(f.form, T::esc_Check6, {1, 0}), "#0");
    EXPECT_EQ(stored(f.form, T::esc_ttika, {0, 0}), "'7'");
}

TEST(Navigation, ValuesTypedInASceneComeBack) {
    MemoryForm f;
    f.type(C::ndees, "3");
    f.click(C::botsig);
    f.click(C::botsig);
    ASSERT_EQ(f.caption(C::Escena), "2");
    f.click(C::Check8);
    f.type(C::Text23, "-5");
    f.type(C::rojo, "12abc");
    f.type(C::Text3, "4");
    f.type(C::Text6, "9");
    f.type(C::cantA, "2");
    f.click(C::botant);
    EXPECT_EQ(f.text(C::rojo), "0");
    EXPECT_EQ(f.value(C::Check8), 0);
    f.click(C::botsig);
    EXPECT_EQ(f.caption(C::Escena), "2");
    EXPECT_EQ(f.value(C::Check8), 1);
    EXPECT_EQ(f.text(C::Text23), "-5");
    EXPECT_EQ(f.text(C::rojo), "12abc");
    EXPECT_EQ(f.text(C::Text3), "4");
    EXPECT_EQ(f.text(C::Text6), "9");
    EXPECT_EQ(f.text(C::cantA), "2");
}

TEST(Navigation, ValuesTypedInAnAnimationComeBack) {
    MemoryForm f;
    f.type(C::cantA, "1");
    f.click(C::Command2);
    ASSERT_EQ(f.caption(C::nroAnim), "1");
    ASSERT_EQ(f.value(C::Check5), 0);  // the reload cleared it
    const std::pair<C, const char*> typed[] = {
        {C::Text1, "1"}, {C::Text2, "2"}, {C::Text3, "3"}, {C::Text7, "4"}, {C::Text8, "5"},
        {C::Text4, "6"}, {C::Text5, "7"}, {C::Text6, "8"}, {C::Text9, "9"}, {C::Text10, "10"}};
    for (const auto& [field, text] : typed)
        f.type(field, text);
    f.click(C::Command3);
    for (const auto& [field, text] : typed)
        EXPECT_EQ(f.text(field), "0");
    f.click(C::Command2);
    for (const auto& [field, text] : typed)
        EXPECT_EQ(f.text(field), text);
    EXPECT_EQ(stored(f.form, T::anim_Text10, {0, 1}), "'10'");
    EXPECT_EQ(stored(f.form, T::anim_Text10, {0, 0}), "'0'");
}

TEST(Navigation, AnimationStaysWhenTheSceneChanges) {
    MemoryForm f;
    f.type(C::ndees, "2");
    f.type(C::cantA, "5");
    for (int i = 0; i < 3; ++i)
        f.click(C::Command2);
    ASSERT_EQ(f.caption(C::nroAnim), "3");
    f.click(C::botsig);
    f.type(C::cantA, "1");
    EXPECT_EQ(walk(f, C::Command2, C::nroAnim, 1), (Captions{"3", "3"}));
    EXPECT_EQ(walk(f, C::Command3, C::nroAnim, 4), (Captions{"3", "2", "1", "0", "0"}));
}

TEST(Navigation, LoweringTheSceneCountStopsOnlyTheForwardArrow) {
    MemoryForm f;
    f.type(C::ndees, "4");
    f.click(C::botsig);
    f.click(C::botsig);
    f.type(C::ndees, "2");
    EXPECT_EQ(walk(f, C::botsig, C::Escena, 1), (Captions{"2", "2"}));
    EXPECT_EQ(walk(f, C::botant, C::Escena, 3), (Captions{"2", "1", "0", "0"}));
}

// A destination scene whose "Estático" box is clear keeps its own stored "Hasta:" value,
// although the box was ticked in the scene being left when the "Desde:" row loaded.
TEST(Navigation, HeldBackEstaticoCopyKeepsTheDestinationsHasta) {
    MemoryForm f;
    f.type(C::ndees, "2");
    f.click(C::botsig);
    f.type(C::Text1, "2");
    f.type(C::Text4, "7");
    f.click(C::botant);
    f.click(C::Check1);
    f.type(C::Text1, "5");
    ASSERT_EQ(f.text(C::Text4), "5");
    f.click(C::botsig);
    EXPECT_EQ(f.value(C::Check1), 0);
    EXPECT_TRUE(f.form.window().visible(C::Text4));
    EXPECT_EQ(f.text(C::Text1), "2");
    EXPECT_EQ(f.text(C::Text4), "7");
    EXPECT_EQ(stored(f.form, T::anim_Text4, {1, 0}), "'7'");
    EXPECT_EQ(stored(f.form, T::anim_Text4, {0, 0}), "'5'");
}

// Where the box is ticked in the destination, its "Hasta:" follows the loaded "Desde:".
TEST(Navigation, HeldBackEstaticoCopyFollowsATickedDestination) {
    MemoryForm f;
    f.type(C::cantA, "1");
    f.click(C::Command2);  // clears Check5 for scene 0
    f.click(C::Check2);
    f.type(C::Text2, "3");
    f.click(C::Command3);  // animation 0 was never written: its "Desde:" loads as 0
    EXPECT_EQ(f.text(C::Text2), "0");
    EXPECT_EQ(f.text(C::Text5), "0");
    EXPECT_EQ(stored(f.form, T::anim_Text5, {0, 0}), "'0'");
    f.click(C::Command2);
    EXPECT_EQ(f.text(C::Text5), "3");
    EXPECT_EQ(stored(f.form, T::anim_Text5, {0, 1}), "'3'");
}

TEST(Navigation, AMovesBoxClearedByTheReloadShowsItsHasta) {
    MemoryForm f;
    f.type(C::ndees, "2");
    f.click(C::Check3);
    f.type(C::Text3, "4");
    f.click(C::botsig);
    EXPECT_EQ(f.value(C::Check3), 0);
    EXPECT_TRUE(f.form.window().visible(C::Text6));
    f.click(C::botant);
    EXPECT_EQ(f.value(C::Check3), 1);
    EXPECT_FALSE(f.form.window().visible(C::Text6));
    EXPECT_EQ(f.text(C::Text6), "4");
}

}  // namespace
}  // namespace tavrix
