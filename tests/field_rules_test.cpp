#include "editor/field_rules.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/ranges.h"
#include "support/memory_output.h"

namespace tavrix {
namespace {

using C = ControlId;
using T = TableId;
using testing::MemoryForm;
using testing::stored;

struct TypingCase {
    C field;
    const char* typed;
    const char* shown;
};

// Every group is switched on first, so that each field can be typed into.
void enable_every_group(MemoryForm& f) {
    for (C box : {C::Check6, C::Check7, C::Check8, C::Check9})
        f.click(box);
}

class Typing : public ::testing::TestWithParam<TypingCase> {};

TEST_P(Typing, NormalisesTheTextAndStoresWhatItShows) {
    const TypingCase& c = GetParam();
    MemoryForm f;
    enable_every_group(f);
    f.type(c.field, "1");  // so that every typed text below is a change
    f.type(c.field, c.typed);
    EXPECT_EQ(f.text(c.field), c.shown) << "typed \"" << c.typed << "\"";
    ASSERT_NE(field_rule_for(c.field), nullptr);
    if (const TableDef* table = table_for(c.field)) {
        EXPECT_EQ(stored(f.form, table->id), std::string("'") + c.shown + "'");
    }
}

std::vector<TypingCase> typing_cases() {
    std::vector<TypingCase> cases;
    const C plain[] = {C::ttika, C::rojo, C::Text25, C::Text14};
    const C sign_kept[] = {C::Text17, C::Text22, C::Text1, C::Text9};
    for (C field : plain) {
        for (TypingCase c : {TypingCase{field, "", "0"},
                             {field, "-", "0"},
                             {field, "-7", "-7"},
                             {field, "12abc", "12abc"},
                             {field, "0.0", "0"},
                             {field, "-0", "0"},
                             {field, "000", "0"},
                             {field, "0.5", "0.5"},
                             {field, "abc", "0"},
                             {field, "1 2", "1 2"},
                             {field, "99", "99"}}) {
            cases.push_back(c);
        }
    }
    for (C field : sign_kept) {
        for (TypingCase c : {TypingCase{field, "-", "-"},
                             {field, "-7", "-7"},
                             {field, "", "0"},
                             {field, "12abc", "12abc"},
                             {field, "--", "0"},
                             {field, "- ", "0"}}) {
            cases.push_back(c);
        }
    }
    for (C field : {C::soundfile, C::cantA}) {
        for (TypingCase c : {TypingCase{field, "", ""}, {field, "-", "-"}, {field, "abc", "abc"}}) {
            cases.push_back(c);
        }
    }
    for (C field : {C::ndees, C::Text13}) {
        for (TypingCase c : {TypingCase{field, "10", "9"},
                             {field, "9.5", "9"},
                             {field, "12abc", "9"},
                             {field, "5abc", "5abc"},
                             {field, "9", "9"},
                             {field, "1 2", "9"},
                             {field, "-3", "-3"},
                             {field, "", "0"},
                             {field, "-", "0"}}) {
            cases.push_back(c);
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(FieldRules, Typing, ::testing::ValuesIn(typing_cases()));

TEST(FieldRules, TheSceneCountsAreNeitherStoredNorLinked) {
    MemoryForm f;
    enable_every_group(f);
    const auto before = testing::store_snapshot(f.form);
    f.type(C::ndees, "7");
    EXPECT_EQ(f.text(C::Text13), "0");
    f.type(C::Text13, "12");
    EXPECT_EQ(f.text(C::ndees), "7");
    EXPECT_EQ(testing::store_snapshot(f.form), before);
}

class EstaticoCopy : public ::testing::TestWithParam<FrameRange> {};

TEST_P(EstaticoCopy, FollowsTheDesdeFieldOnlyWhileTheBoxIsTicked) {
    const FrameRange& range = GetParam();
    const TableId from_table = table_for(range.from)->id;
    const TableId to_table = table_for(range.to)->id;
    MemoryForm f;
    if (f.value(range.box) == 1)
        f.click(range.box);  // "Velocidad:" starts ticked
    f.type(range.to, "8");
    f.type(range.from, "5");
    EXPECT_EQ(f.text(range.to), "8");
    EXPECT_EQ(stored(f.form, to_table), "'8'");

    f.click(range.box);
    f.type(range.from, "6");
    EXPECT_EQ(f.text(range.to), "6");
    EXPECT_EQ(stored(f.form, from_table), "'6'");
    EXPECT_EQ(stored(f.form, to_table), "'6'");

    f.type(range.from, "");
    EXPECT_EQ(f.text(range.from), "0");
    EXPECT_EQ(f.text(range.to), "0");
    EXPECT_EQ(stored(f.form, from_table), "'0'");
    EXPECT_EQ(stored(f.form, to_table), "'0'");

    f.type(range.from, "-");
    EXPECT_EQ(f.text(range.to), "-");
}

INSTANTIATE_TEST_SUITE_P(FieldRules, EstaticoCopy, ::testing::ValuesIn(kFrameRanges));

TEST(FieldRules, WritingTheTextShownRunsNoRule) {
    MemoryForm f;
    f.type(C::rojo, "0");
    EXPECT_EQ(stored(f.form, T::esc_rojo), "#0");  // still the start-up whole number
    f.type(C::Text16, "0");
    EXPECT_EQ(stored(f.form, T::esc_Text16), "null");
}

TEST(FieldRules, StoreAtTheCurrentSceneOnly) {
    MemoryForm f;
    f.type(C::ndees, "9");
    for (int i = 0; i < 3; ++i)
        f.click(C::botsig);
    ASSERT_EQ(f.caption(C::Escena), "3");
    f.type(C::rojo, "12");
    for (int scene = 0; scene < kScenes; ++scene) {
        EXPECT_EQ(stored(f.form, T::esc_rojo, {scene, 0}), scene == 3 ? "'12'" : "#0") << scene;
    }
}

TEST(FieldRules, AWriteBackNestsInsideTheEdit) {
    MemoryForm f;
    f.click(C::Check1);
    std::vector<std::string> seen;
    f.form.set_observer([&](ControlId id, Property) {
        seen.push_back(std::string(control_def(id).name) + "=" + f.text(id));
    });
    f.type(C::Text1, "");
    EXPECT_EQ(seen, (std::vector<std::string>{"Text1=", "Text1=0"}));
    seen.clear();
    f.type(C::Text1, "x");
    EXPECT_EQ(seen, (std::vector<std::string>{"Text1=x", "Text1=0"}));
    seen.clear();
    f.type(C::Text1, "4");
    EXPECT_EQ(seen, (std::vector<std::string>{"Text1=4", "Text4=4"}));
}

}  // namespace
}  // namespace tavrix
