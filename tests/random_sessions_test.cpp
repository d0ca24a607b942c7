// Long random sessions of a person's actions, with the window's invariants checked after
// every step.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "editor/field_rules.h"
#include "editor/navigation.h"
#include "editor/toggle_rules.h"
#include "model/ranges.h"
#include "support/memory_output.h"

namespace tavrix {
namespace {

using C = ControlId;
using testing::MemoryForm;

const char* const kTexts[] = {"",   "-",   "0",   "1",     "2",   "3",  "5",   "9",  "10",
                              "-7", "0.5", "9.5", "12abc", "abc", " 2", "007", "99", "z"};

const C kArrows[] = {C::botant, C::botsig, C::Command3, C::Command2};

std::string step_name(C control, const std::string& text) {
    return std::string(control_def(control).name) + (text.empty() ? "" : "=\"" + text + "\"");
}

void check_positions(const Window& window, const std::string& context) {
    for (C caption : {C::Escena, C::nroAnim}) {
        const std::string& shown = window.caption(caption);
        ASSERT_TRUE(shown.size() == 1 && shown[0] >= '0' && shown[0] <= '9')
            << context << ": " << control_def(caption).name << " = " << shown;
    }
}

void check_estatico_and_groups(const Window& window, const std::string& context) {
    for (const FrameRange& range : kFrameRanges) {
        EXPECT_EQ(window.visible(range.to), window.value(range.box) != 1)
            << context << ": " << control_def(range.to).name;
    }
    for (const ToggleRule& rule : toggle_rules()) {
        for (C member : rule.group) {
            EXPECT_EQ(window.enabled(member), window.value(rule.box) == 1)
                << context << ": " << control_def(member).name;
        }
    }
}

void check_normalised(const Window& window, const std::string& context) {
    for (const FieldRule& rule : field_rules()) {
        const std::string& text = window.text(rule.field);
        if (rule.family == Family::FreeText)
            continue;
        // The fade ticks start empty, and a reload of an empty element leaves them so.
        if (text.empty() && control_def(rule.field).text.empty())
            continue;
        if (text == "-" && rule.family != Family::PlainNumeric &&
            rule.family != Family::SceneCount) {
            continue;
        }
        if (leading_number(text) == 0) {
            EXPECT_EQ(text, "0") << context;
        }
        if (rule.family == Family::SceneCount) {
            EXPECT_LE(leading_number(text), 9) << context;
        }
    }
}

// After a reload, every stored field shows what the store holds at the current position.
void check_reloaded(const MemoryForm& f, const std::string& context) {
    const Window& window = f.form.window();
    const Position at{window.caption(C::Escena)[0] - '0', window.caption(C::nroAnim)[0] - '0'};
    for (const TableDef& table : tables_in_reload_order()) {
        if (control_def(table.control).kind == Kind::CheckBox) {
            EXPECT_EQ(window.value(table.control), f.form.store().load_check(table.id, at))
                << context << ": " << control_def(table.control).name;
        } else {
            EXPECT_EQ(window.text(table.control), f.form.store().load_text(table.id, at))
                << context << ": " << control_def(table.control).name;
        }
    }
}

class RandomSession : public ::testing::TestWithParam<unsigned> {};

TEST_P(RandomSession, KeepsTheInvariantsAfterEveryStep) {
    std::mt19937 random(GetParam());
    MemoryForm f;
    std::vector<C> text_boxes, check_boxes;
    for (const ControlDef& def : control_table()) {
        if (def.kind == Kind::TextBox && def.id != C::Text11)
            text_boxes.push_back(def.id);
        if (def.kind == Kind::CheckBox)
            check_boxes.push_back(def.id);
    }
    auto pick = [&](const auto& items) { return items[random() % std::size(items)]; };
    std::string context;
    for (int step = 0; step < 3000 && !HasFailure(); ++step) {
        const unsigned roll = random() % 100;
        C control;
        std::string text;
        if (roll < 55) {
            control = pick(text_boxes);
            text = pick(kTexts);
            (void)f.form.type_text(control, text);  // refused when disabled or hidden
        } else if (roll < 75) {
            control = pick(check_boxes);
            (void)f.form.click(control);
        } else if (roll < 98) {
            control = pick(kArrows);
            f.click(control);
        } else {
            control = C::Command1;
            (void)f.form.click(control);
        }
        context = "paso " + std::to_string(step) + " " + step_name(control, text);
        check_positions(f.form.window(), context);
        check_estatico_and_groups(f.form.window(), context);
        check_normalised(f.form.window(), context);
        if (control_def(control).kind == Kind::Button && control != C::Command1) {
            check_reloaded(f, context);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(RandomSessions, RandomSession, ::testing::Range(1u, 21u));

}  // namespace
}  // namespace tavrix
