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

TEST(StoryboardText, ReadsSectionsKeysAndFramesAsEnginesDo) {
    const auto read = read_storyboard_text(
        "spr=loose\n"
        "[scenedef]\r\n"
        "  SPR =  intro.sff ; a comment after the value\r\n"
        "\r\n"
        "; a whole comment line\n"
        "[ Scene 0 ]\n"
        "Layer0.Anim=7\n"
        "fadein.col = 1 , 2\n"
        "no equals sign here\n"
        "[Begin Action 7]\n"
        " 0,1, 10,-3, 15 \r\n"
        "1,2,3,4,5,H\n"
        "Loopstart\n"
        "[Begin action x]\n"
        "0,0,0,0,1\n"
        "[Scene 1]\n"
        "bgm = m\xfasica.mp3\r\n");
    ASSERT_TRUE(read.ok()) << read.error();
    const StoryboardText& text = read.value();
    ASSERT_EQ(text.loose_keys.size(), 1u);
    ASSERT_EQ(text.sections.size(), 5u);

    const StoryboardSection* def = text.find("SceneDef");
    ASSERT_NE(def, nullptr);
    ASSERT_NE(find_key(*def, "spr"), nullptr);
    EXPECT_EQ(find_key(*def, "spr")->value, "intro.sff");
    EXPECT_EQ(find_key(*def, "spr")->line, 3u);

    const StoryboardSection& scene = text.sections[1];
    EXPECT_EQ(scene.name, "Scene 0");
    EXPECT_EQ(find_key(scene, "layer0.anim")->value, "7");
    EXPECT_EQ(find_key(scene, "FADEIN.COL")->value, "1 , 2");
    const StoryboardKey* bare = find_key(scene, "no equals sign here");
    ASSERT_NE(bare, nullptr);
    EXPECT_FALSE(bare->has_value);

    const StoryboardSection& action = text.sections[2];
    EXPECT_EQ(action.action, 7);
    ASSERT_EQ(action.frames.size(), 2u);
    const auto values = action.frames[0].values;
    EXPECT_EQ(std::vector(values.begin(), values.end()),
              (std::vector<std::string_view>{"0", "1", "10", "-3", "15"}));
    EXPECT_EQ(action.frames[0].line, 11u);
    EXPECT_EQ(action.frames[1].values.size(), 6u);
    ASSERT_EQ(action.keys.size(), 1u);
    EXPECT_EQ(action.keys[0].name, "Loopstart");

    // Not an action: its lines are keys.
    EXPECT_FALSE(text.sections[3].action);
    EXPECT_EQ(text.sections[3].keys.size(), 1u);
    // Windows-1252 comes out as UTF-8.
    EXPECT_EQ(find_key(text.sections[4], "bgm")->value, "m\xc3\xbasica.mp3");
}

TEST(StoryboardText, RefusesWhatIsNotAStoryboard) {
    for (const std::string& bytes :
         {std::string(""), std::string("[Info]\nname = x\n"),
          std::string("[SceneDef]\0spr = a\n", 19), std::string("spr = a\n")}) {
        const auto read = read_storyboard_text(bytes);
        ASSERT_FALSE(read.ok()) << bytes;
        EXPECT_EQ(read.error().rfind("no es un storyboard", 0), 0u) << read.error();
    }
    EXPECT_TRUE(read_storyboard_text("[Scene 3]\n").ok());
}

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
