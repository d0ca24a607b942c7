// A storyboard file read as engines read one.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "storyboard/keys.h"
#include "storyboard/on_screen.h"
#include "storyboard/storyboard_text.h"
#include "support/memory_output.h"

namespace tavrix {
namespace {

// What a file written with every option holds, read back: every key is the table's, in any
// case, with as many parts as the table gives it fields (or its fixed value), and the fields'
// texts in that order; a key in another kind of section, or not in the table, is not one.
TEST(StoryboardText, EveryWrittenKeyIsInTheKeyTable) {
    using C = ControlId;
    testing::MemoryForm f;
    for (C box : {C::Check6, C::Check7, C::Check8, C::Check9})
        f.click(box);
    f.form.set_engine_ready(true);
    f.generate();
    const auto read = read_storyboard_text(f.file->committed);
    ASSERT_TRUE(read.ok()) << read.error();
    const Storyboard written = storyboard_on_screen(f.form.window(), true);
    const auto kind_of = [](std::string_view name) {
        return same_name(name, "SceneDef")  ? SectionKind::SceneDef
               : same_name(name, "Scene 0") ? SectionKind::Scene
               : same_name(name, "BG1Def")  ? SectionKind::BackgroundDef
                                            : SectionKind::Background;
    };
    std::size_t keys = 0;
    for (const StoryboardSection& section : read.value().sections) {
        for (const StoryboardKey& key : section.keys) {
            const KeyDef* def = find_key_def(kind_of(section.name), key.name);
            ASSERT_NE(def, nullptr) << key.name;
            ++keys;
            std::vector<std::string_view> typed = def->section == SectionKind::SceneDef
                                                      ? typed_parts(written.header, def->key)
                                                      : typed_parts(written.scenes[0], def->key);
            const auto fields = std::count_if(def->fields.begin(), def->fields.end(),
                                              [](auto field) { return field.has_value(); });
            EXPECT_EQ(typed.size(), static_cast<std::size_t>(fields)) << key.name;
            std::string joined(def->fixed);
            for (std::size_t i = 0; i < typed.size(); ++i)
                joined.append(i == 0 ? "" : ",").append(typed[i]);
            if (!typed.empty() || def->holds == KeyValue::Fixed) {
                EXPECT_EQ(key.value, joined) << key.name;
            }
        }
    }
    EXPECT_EQ(keys, key_defs().size());
    EXPECT_EQ(find_key_def(SectionKind::Scene, "FadeIn.TIME"), &key_def(Key::FadeInTime));
    EXPECT_EQ(find_key_def(SectionKind::SceneDef, "fadein.time"), nullptr);
    EXPECT_EQ(find_key_def(SectionKind::Scene, "fadein.timer"), nullptr);
}

}  // namespace
}  // namespace tavrix
