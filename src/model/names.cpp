#include "model/names.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tavrix {
namespace {

using C = ControlId;

// A control's name is the captions of `shown` (outermost first), then `word`, joined by
// spaces, without the colon that ends a caption on screen.
struct NameDef {
    ControlId id;
    std::array<std::optional<ControlId>, 2> shown;
    std::string_view word;
};

// clang-format off
constexpr NameDef kNames[] = {
    {C::ndees,     {C::Label15},              {}},
    {C::Text12,    {C::Label14},              {}},
    {C::Check9,    {C::Label17},              {}},
    {C::Text13,    {C::Label17},              "número"},
    {C::botant,    {C::Label16},              "anterior"},
    {C::botsig,    {C::Label16},              "siguiente"},
    {C::Command3,  {C::Label18},              "anterior"},
    {C::Command2,  {C::Label18},              "siguiente"},
    {C::cantA,     {C::Label38},              {}},
    {C::Check6,    {C::Frame2},               {}},
    {C::ttika,     {C::Frame2, C::tikdea},    {}},
    {C::tikdd,     {C::Frame2, C::tikdedes},  {}},
    {C::Text25,    {C::Frame2, C::Label35},   "rojo"},
    {C::Text26,    {C::Frame2, C::Label35},   "verde"},
    {C::Text27,    {C::Frame2, C::Label35},   "azul"},
    {C::Text16,    {C::Frame4, C::Label22},   {}},
    {C::Text17,    {C::Frame4, C::Label23},   "X"},
    {C::Text18,    {C::Frame4, C::Label23},   "Y"},
    {C::Text19,    {C::Frame4, C::Label25},   {}},
    {C::Text15,    {C::Frame4, C::Label32},   "X"},
    {C::Text20,    {C::Frame4, C::Label32},   "Y"},
    {C::Check8,    {C::Frame6},               {}},
    {C::Text24,    {C::Frame6, C::Label30},   {}},
    {C::Text23,    {C::Frame6, C::Label29},   "X"},
    {C::Text22,    {C::Frame6, C::Label29},   "Y"},
    {C::Text21,    {C::Frame6, C::Label27},   {}},
    {C::Check7,    {C::Frame5},               {}},
    {C::soundfile, {C::Frame5},               "archivo"},
    {C::Text14,    {C::Frame5, C::Label26},   {}},
    {C::rojo,      {C::Frame3, C::Label19},   {}},
    {C::verde,     {C::Frame3, C::Label20},   {}},
    {C::azul,      {C::Frame3, C::Label21},   {}},
    {C::Text1,     {C::Label7, C::Label5},    {}},
    {C::Text2,     {C::Label7, C::Label6},    {}},
    {C::Text3,     {C::Label7, C::Label3},    {}},
    {C::Text7,     {C::Label7, C::Label4},    {}},
    {C::Text8,     {C::Label7, C::Label2},    {}},
    {C::Text4,     {C::Label8, C::Label5},    {}},
    {C::Text5,     {C::Label8, C::Label6},    {}},
    {C::Text6,     {C::Label8, C::Label3},    {}},
    {C::Text9,     {C::Label8, C::Label4},    {}},
    {C::Text10,    {C::Label8, C::Label2},    {}},
    {C::Check1,    {C::Label5, C::Check1},    {}},
    {C::Check2,    {C::Label6, C::Check2},    {}},
    {C::Check3,    {C::Label3, C::Check3},    {}},
    {C::Check4,    {C::Label4, C::Check4},    {}},
    {C::Check5,    {C::Label2, C::Check5},    {}},
    {C::ticsI,     {C::Label37},              {}},
    {C::tiempoI,   {C::Label36},              {}},
    {C::Command1,  {C::Command1},             {}},
    {C::Text11,    {C::Label1},               {}},
};
// clang-format on

const NameDef* name_def(ControlId id) {
    const auto* found = std::find_if(std::begin(kNames), std::end(kNames),
                                     [id](const NameDef& def) { return def.id == id; });
    return found == std::end(kNames) ? nullptr : found;
}

std::string_view trimmed(std::string_view caption) {
    while (!caption.empty() && caption.back() == ' ')
        caption.remove_suffix(1);
    return caption;
}

}  // namespace

std::string control_name(ControlId id) {
    const NameDef* def = name_def(id);
    if (!def)
        return {};
    std::string name;
    const auto append = [&name](std::string_view part) {
        if (!name.empty())
            name.push_back(' ');
        name.append(part);
    };
    for (const std::optional<ControlId>& part : def->shown) {
        if (part)
            append(trimmed(control_def(*part).text));
    }
    if (!def->word.empty())
        append(def->word);
    if (!name.empty() && name.back() == ':')
        name.pop_back();
    return name;
}

std::optional<ControlId> label_of(ControlId id) {
    const NameDef* def = name_def(id);
    if (!def || control_def(id).kind != Kind::TextBox)
        return std::nullopt;
    for (auto part = def->shown.rbegin(); part != def->shown.rend(); ++part) {
        if (*part && control_def(**part).kind == Kind::Label)
            return *part;
    }
    return std::nullopt;
}

}  // namespace tavrix
