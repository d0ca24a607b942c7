#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/controls.h"
#include "support/memory_output.h"

namespace tavrix {
namespace {

using C = ControlId;
using testing::MemoryForm;

TEST(ControlTable, HoldsEveryControlOnceByKind) {
    std::map<Kind, int> per_kind;
    std::set<std::string_view> names;
    for (const ControlDef& def : control_table()) {
        ++per_kind[def.kind];
        EXPECT_TRUE(names.insert(def.name).second) << def.name;
        EXPECT_EQ(find_control(def.name), def.id);
        if (def.container) {
            EXPECT_EQ(control_def(*def.container).kind, Kind::Frame) << def.name;
        }
    }
    EXPECT_EQ(per_kind[Kind::Label], 41);  // Label1 to Label38 but 31, and four named ones
    EXPECT_EQ(per_kind[Kind::TextBox], 37);
    EXPECT_EQ(per_kind[Kind::CheckBox], 9);
    EXPECT_EQ(per_kind[Kind::Button], 5);
    EXPECT_EQ(per_kind[Kind::Frame], 6);
    EXPECT_FALSE(find_control("Label31"));
    EXPECT_FALSE(find_control("text1"));  // names are case-sensitive
}

TEST(ControlTable, FocusOrderFollowsTheTabIndexes) {
    const std::vector<std::string_view> expected = {
        "Text1",  "Text2",   "Text3",     "Text7",  "Text8",  "Text4",  "Text5",    "Text6",
        "Text9",  "Text10",  "Check1",    "Check2", "Check3", "Check4", "Check5",   "Command1",
        "Text11", "ndees",   "Text12",    "botant", "botsig", "ttika",  "tikdd",    "rojo",
        "verde",  "azul",    "Text16",    "Text17", "Text18", "Text19", "Text21",   "Text22",
        "Text23", "Text24",  "soundfile", "Check6", "Check7", "Text13", "Command2", "Command3",
        "Text14", "Text15",  "Text20",    "Text25", "Text26", "Text27", "Check8",   "Check9",
        "ticsI",  "tiempoI", "cantA"};
    std::vector<std::string_view> order;
    for (C id : focus_order())
        order.push_back(control_def(id).name);
    EXPECT_EQ(order, expected);
}

TEST(FormLoad, FillsTheCreditsWithThreeLinesJoinedByCarriageReturns) {
    MemoryForm f;
    const std::string& credits = f.caption(C::Label9);
    EXPECT_EQ(credits, std::string(kCreditsLines[0]) + "\r" + std::string(kCreditsLines[1]) + "\r" +
                           std::string(kCreditsLines[2]));
    EXPECT_EQ(credits.find('\n'), std::string::npos);
    EXPECT_NE(std::string(kCreditsLines[0]).find('@'), std::string::npos);
    EXPECT_NE(std::string(kCreditsLines[1]).find('@'), std::string::npos);
}

TEST(FormLoad, StoresOnlyTheStartUpZeros) {
    MemoryForm f;
    for (const TableDef& table : tables_in_reload_order()) {
        const bool zeros = table.id == TableId::esc_rojo || table.id == TableId::esc_verde ||
                           table.id == TableId::esc_azul || table.id == TableId::esc_cantA;
        for (int scene = 0; scene < kScenes; ++scene) {
            for (int animation = 0; animation < kAnimations; ++animation) {
                EXPECT_EQ(testing::stored(f.form, table.id, {scene, animation}),
                          zeros ? "#0" : "null")
                    << table.name;
                if (table.kind == TableKind::PerScene)
                    break;
            }
        }
        // The reload's readings of scene 7.
        const Position scene7{7, 0};
        if (control_def(table.control).kind == Kind::CheckBox) {
            EXPECT_EQ(f.form.store().load_check(table.id, scene7), 0);
        } else {
            EXPECT_EQ(f.form.store().load_text(table.id, scene7), zeros ? "0" : "");
        }
    }
}

TEST(FormLoad, ShowsEveryControlAtItsDefault) {
    MemoryForm f;
    for (const ControlDef& def : control_table()) {
        if (def.id == C::Label9)
            continue;
        EXPECT_EQ(f.form.window().text(def.id), def.text) << def.name;
        EXPECT_EQ(f.form.window().enabled(def.id), def.initially.enabled) << def.name;
        EXPECT_EQ(f.form.window().visible(def.id), def.initially.visible) << def.name;
        EXPECT_EQ(f.form.window().value(def.id), def.initially.value) << def.name;
    }
    EXPECT_EQ(f.value(C::Check5), 1);
    EXPECT_FALSE(f.form.window().visible(C::Text10));
    EXPECT_EQ(f.caption(C::Check7), "Check6");
}

struct RefusalCase {
    C control;
    bool is_click;
    ActionStatus error;
};

TEST(PersonActions, RefuseWhatAPersonCannotDo) {
    const RefusalCase cases[] = {
        {C::ttika, false, ActionStatus::Unreachable},   // disabled until "Fade:" is ticked
        {C::Text10, false, ActionStatus::Unreachable},  // hidden while "Velocidad:" is static
        {C::Label9, false, ActionStatus::NotATextBox},
        {C::Check1, false, ActionStatus::NotATextBox},
        {C::Text1, true, ActionStatus::NotClickable},
        {C::Frame1, true, ActionStatus::NotClickable},
        {C::Escena, true, ActionStatus::NotClickable},
    };
    for (const RefusalCase& c : cases) {
        MemoryForm f;
        const auto refused =
            c.is_click ? f.form.click(c.control) : f.form.type_text(c.control, "1");
        EXPECT_EQ(refused, c.error) << control_def(c.control).name;
    }
}

}  // namespace
}  // namespace tavrix
