#include "editor/toggle_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "support/memory_output.h"

namespace tavrix {
namespace {

using C = ControlId;
using T = TableId;
using testing::MemoryForm;
using testing::stored;

TEST(ToggleRules, EstaticoHidesTheHastaFieldAndFillsItFromDesde) {
    MemoryForm f;
    f.type(C::Text1, "5");
    f.type(C::Text4, "9");
    f.click(C::Check1);
    EXPECT_FALSE(f.form.window().visible(C::Text4));
    EXPECT_EQ(f.text(C::Text4), "5");
    EXPECT_EQ(stored(f.form, T::anim_Text4), "'5'");
    EXPECT_EQ(stored(f.form, T::esc_Check1), "#1");

    f.click(C::Check1);
    EXPECT_TRUE(f.form.window().visible(C::Text4));
    EXPECT_EQ(f.text(C::Text4), "5");
    EXPECT_EQ(stored(f.form, T::esc_Check1), "#0");
}

TEST(ToggleRules, YAndSpeedBoxesFollowTheirOwnColumns) {
    MemoryForm f;
    f.type(C::Text7, "4");
    f.click(C::Check4);
    EXPECT_EQ(f.text(C::Text9), "4");
    f.click(C::Check5);  // starts ticked: this clears it
    EXPECT_TRUE(f.form.window().visible(C::Text10));
    f.type(C::Text8, "3");
    EXPECT_EQ(f.text(C::Text10), "0");
    f.click(C::Check5);
    EXPECT_EQ(f.text(C::Text10), "3");
    EXPECT_FALSE(f.form.window().visible(C::Text10));
}

TEST(ToggleRules, EstaticoCopiesALoneMinusToo) {
    MemoryForm f;
    f.type(C::Text3, "-");
    f.click(C::Check3);
    EXPECT_EQ(f.text(C::Text6), "-");
}

std::set<C> enabled_controls(const MemoryForm& f) {
    std::set<C> enabled;
    for (const ControlDef& def : control_table()) {
        if (f.form.window().enabled(def.id))
            enabled.insert(def.id);
    }
    return enabled;
}

struct GroupCase {
    C box;
    std::set<C> group;
    std::optional<T> table;
};

class GroupToggle : public ::testing::TestWithParam<GroupCase> {};

TEST_P(GroupToggle, EnablesExactlyItsGroup) {
    const GroupCase& c = GetParam();
    MemoryForm f;
    const std::set<C> before = enabled_controls(f);
    const auto store_before = testing::store_snapshot(f.form);
    f.click(c.box);
    std::set<C> newly_enabled;
    const std::set<C> after = enabled_controls(f);
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::inserter(newly_enabled, newly_enabled.end()));
    EXPECT_EQ(newly_enabled, c.group);
    EXPECT_EQ(after.size(), before.size() + c.group.size());
    if (c.table) {
        EXPECT_EQ(stored(f.form, *c.table), "#1");
    } else {
        EXPECT_EQ(testing::store_snapshot(f.form), store_before);
    }
    f.click(c.box);
    EXPECT_EQ(enabled_controls(f), before);
    if (c.table) {
        EXPECT_EQ(stored(f.form, *c.table), "#0");
    }
}

INSTANTIATE_TEST_SUITE_P(
    ToggleRules, GroupToggle,
    ::testing::Values(GroupCase{C::Check6,
                                {C::tikdea, C::ttika, C::tikdedes, C::tikdd, C::Label35, C::Text25,
                                 C::Text26, C::Text27},
                                T::esc_Check6},
                      GroupCase{C::Check7, {C::soundfile, C::Label26, C::Text14}, T::esc_Check7},
                      GroupCase{C::Check8,
                                {C::Label30, C::Text24, C::Label29, C::Text23, C::Text22,
                                 C::Label27, C::Text21},
                                T::esc_Check8},
                      GroupCase{C::Check9, {C::Label17, C::Text13}, std::nullopt}));

TEST(ToggleRules, DisablingKeepsTheTexts) {
    MemoryForm f;
    f.click(C::Check7);
    f.type(C::soundfile, "musica.mp3");
    f.click(C::Check7);
    EXPECT_FALSE(f.form.window().enabled(C::soundfile));
    EXPECT_EQ(f.text(C::soundfile), "musica.mp3");
    EXPECT_EQ(stored(f.form, T::esc_soundfile), "'musica.mp3'");
}

}  // namespace
}  // namespace tavrix
