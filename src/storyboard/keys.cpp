#include "storyboard/keys.h"

#include <algorithm>
#include <iterator>

namespace tavrix {
namespace {

using C = ControlId;
using K = Key;
using S = SectionKind;
using V = KeyValue;

// clang-format off
constexpr KeyDef kKeys[] = {
    {K::SpriteFile,       S::SceneDef,   "spr",              V::FileName,     {C::Text12}, {}},
    {K::StartScene,       S::SceneDef,   "startscene",       V::WholeNumbers, {C::Text13}, {}},
    {K::FadeInTime,       S::Scene,      "fadein.time",      V::WholeNumbers, {C::ttika}, {}},
    {K::FadeInColour,     S::Scene,      "fadein.col",       V::WholeNumbers, {C::Text25, C::Text26, C::Text27}, {}},
    {K::FadeOutTime,      S::Scene,      "fadeout.time",     V::WholeNumbers, {C::tikdd}, {}},
    {K::FadeOutColour,    S::Scene,      "fadeout.col",      V::Fixed,        {}, "0,0,0"},
    {K::ClearColour,      S::Scene,      "clearcolor",       V::WholeNumbers, {C::rojo, C::verde, C::azul}, {}},
    {K::LayerPosition,    S::Scene,      "layerall.pos",     V::WholeNumbers, {C::Text17, C::Text18}, {}},
    {K::LayerAnimation,   S::Scene,      "layer0.anim",      V::ActionNumber, {C::Text16}, {}},
    {K::LayerOffset,      S::Scene,      "layer0.offset",    V::WholeNumbers, {C::Text15, C::Text20}, {}},
    {K::LayerStartTime,   S::Scene,      "layer0.starttime", V::WholeNumbers, {C::Text19}, {}},
    {K::SceneLength,      S::Scene,      "end.time",         V::Length,       {}, {}},
    {K::BackgroundName,   S::Scene,      "bg.name",          V::ElementName,  {}, {}},
    {K::Music,            S::Scene,      "bgm",              V::FileName,     {C::soundfile}, {}},
    {K::MusicLoops,       S::Scene,      "bgm.loop",         V::WholeNumbers, {C::Text14}, {}},
    {K::BackgroundType,   S::Background, "type",             V::Fixed,        {}, "Anim"},
    {K::BackgroundAction, S::Background, "Actionno",         V::WholeNumbers, {C::Text24}, {}},
    {K::BackgroundStart,  S::Background, "start",            V::WholeNumbers, {C::Text23, C::Text22}, {}},
    {K::BackgroundMask,   S::Background, "mask",             V::Fixed,        {}, "1"},
};
// clang-format on

constexpr bool keys_follow_table_order() {
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
        if (static_cast<std::size_t>(kKeys[i].key) != i)
            return false;
    }
    return true;
}
static_assert(keys_follow_table_order(), "key_def() finds a key by its place in the table");

using Parts = std::vector<std::string_view>;

template <std::size_t N>
Parts parts_of(const std::array<std::string, N>& texts) {
    return Parts(texts.begin(), texts.end());
}

Parts fade_parts(const Storyboard::Fade& fade, Key key) {
    switch (key) {
        case K::FadeInTime:
            return {fade.in_time};
        case K::FadeInColour:
            return parts_of(fade.in_colour);
        case K::FadeOutTime:
            return {fade.out_time};
        default:
            return {};
    }
}

Parts layer_parts(const Storyboard::Layer& layer, Key key) {
    switch (key) {
        case K::LayerPosition:
            return parts_of(layer.position);
        case K::LayerAnimation:
            return {layer.animation};
        case K::LayerOffset:
            return parts_of(layer.offset);
        case K::LayerStartTime:
            return {layer.start_time};
        default:
            return {};
    }
}

Parts background_parts(const Storyboard::Background& background, Key key) {
    switch (key) {
        case K::BackgroundAction:
            return {background.action};
        case K::BackgroundStart:
            return parts_of(background.start);
        default:
            return {};
    }
}

}  // namespace

std::span<const KeyDef> key_defs() {
    return kKeys;
}

const KeyDef& key_def(Key key) {
    return kKeys[static_cast<std::size_t>(key)];
}

std::string_view key_name(Key key) {
    return key_def(key).name;
}

const KeyDef* find_key_def(SectionKind section, std::string_view text) {
    const auto* found = std::find_if(std::begin(kKeys), std::end(kKeys), [&](const KeyDef& def) {
        return def.section == section && same_name(def.name, text);
    });
    return found == std::end(kKeys) ? nullptr : found;
}

const StoryboardKey* find_key(const StoryboardSection& section, Key key) {
    return find_key(section, key_name(key));
}

std::vector<std::string_view> typed_parts(const Storyboard::Header& header, Key key) {
    if (key == K::SpriteFile)
        return {header.sprite_file};
    if (key == K::StartScene && header.start_scene)
        return {*header.start_scene};
    return {};
}

std::vector<std::string_view> typed_parts(const Storyboard::Scene& scene, Key key) {
    switch (key) {
        case K::FadeInTime:
        case K::FadeInColour:
        case K::FadeOutTime:
            return scene.fade ? fade_parts(*scene.fade, key) : Parts{};
        case K::ClearColour:
            return parts_of(scene.clear_colour);
        case K::LayerPosition:
        case K::LayerAnimation:
        case K::LayerOffset:
        case K::LayerStartTime:
            return layer_parts(scene.layer, key);
        case K::Music:
            return scene.music ? Parts{scene.music->file} : Parts{};
        case K::MusicLoops:
            return scene.music ? Parts{scene.music->loops} : Parts{};
        case K::BackgroundAction:
        case K::BackgroundStart:
            return scene.background ? background_parts(*scene.background, key) : Parts{};
        default:
            return {};
    }
}

}  // namespace tavrix
