#include "model/controls.h"

#include <algorithm>

namespace tavrix {
namespace {

using C = ControlId;
using K = Kind;

constexpr Initially kNormal{};
constexpr Initially kDisabled{.enabled = false};
constexpr Initially kHidden{.visible = false};
constexpr Initially kTicked{.value = 1};
constexpr Initially kReadOnly{.read_only = true};

constexpr std::string_view kTipRight = "Avanza hacia la derecha";
constexpr std::string_view kTipDown = "Avanza hacia abajo";
constexpr std::string_view kTipTicks = "Tiempo en tiks";

constexpr std::optional<ControlId> kWindow = std::nullopt;

constexpr WindowDef kWindowDef{"Tavrix v2.0 -= BETA =-", 9450, 8625};

// clang-format off
constexpr std::array<ControlDef, kControlCount> kControls{{
//   id           name          kind        caption or default text     container   left  top   width height initially  tooltip    tab
    // Top row, on the window.
    {C::Label15,  "Label15",    K::Label,   "Número de escenas:",       kWindow,    {240,  240,  1935, 255}, kNormal,   {},        30},
    {C::ndees,    "ndees",      K::TextBox, "1",                        kWindow,    {1800, 240,  375,  285}, kNormal,   {},        31},
    {C::Label14,  "Label14",    K::Label,   "Archivo .sff:",            kWindow,    {3120, 240,  855,  255}, kNormal,   {},        32},
    {C::Text12,   "Text12",     K::TextBox, "intro.sff",                kWindow,    {4080, 240,  1575, 285}, kNormal,   {},        33},
    {C::Check9,   "Check9",     K::CheckBox,"Check9",                   kWindow,    {6240, 240,  255,  255}, kNormal,   {},        91},
    {C::Label17,  "Label17",    K::Label,   "Escena inicial:",          kWindow,    {6600, 240,  1455, 255}, kDisabled, {},        74},
    {C::Text13,   "Text13",     K::TextBox, "0",                        kWindow,    {7680, 240,  375,  285}, kDisabled, {},        73},
    // A separator left under the scene header frame, which covers it.
    {C::Label33,  "Label33",    K::Label,   ",",                        kWindow,    {4080, 3480, 255,  255}, kNormal,   {},        {}},
    // Scene header frame and its first row.
    {C::Frame1,   "Frame1",     K::Frame,   "Encabezado de escena:",    kWindow,    {120,  720,  9135, 4455}, kNormal,  {},        34},
    {C::Label16,  "Label16",    K::Label,   "Escena:",                  C::Frame1,  {600,  360,  855,  375}, kNormal,   {},        42},
    {C::botant,   "botant",     K::Button,  "<-",                       C::Frame1,  {1320, 360,  375,  255}, kNormal,   {},        35},
    {C::Escena,   "Escena",     K::Label,   "0",                        C::Frame1,  {1800, 360,  375,  255}, kNormal,   {},        70},
    {C::botsig,   "botsig",     K::Button,  "->",                       C::Frame1,  {2040, 360,  375,  255}, kNormal,   {},        36},
    {C::Label18,  "Label18",    K::Label,   "Animacion:",               C::Frame1,  {2760, 360,  2295, 375}, kNormal,   {},        77},
    {C::nroAnim,  "nroAnim",    K::Label,   "0",                        C::Frame1,  {4080, 360,  375,  255}, kNormal,   {},        78},
    {C::Command2, "Command2",   K::Button,  "->",                       C::Frame1,  {4320, 360,  375,  255}, kNormal,   {},        75},
    {C::Label38,  "Label38",    K::Label,   "Cantidad de animaciones:", C::Frame1,  {5280, 360,  2295, 375}, kNormal,   {},        96},
    {C::cantA,    "cantA",      K::TextBox, "0",                        C::Frame1,  {7200, 360,  495,  285}, kNormal,   {},        97},
    // Fade.
    {C::Frame2,   "Frame2",     K::Frame,   "Fade:",                    C::Frame1,  {240,  720,  8655, 735}, kNormal,   {},        37},
    {C::Check6,   "Check6",     K::CheckBox,"Check6",                   C::Frame2,  {600,  0,    255,  255}, kNormal,   {},        71},
    {C::tikdea,   "tikdea",     K::Label,   "Tik de aparición:",        C::Frame2,  {240,  360,  1935, 255}, kDisabled, {},        40},
    {C::ttika,    "ttika",      K::TextBox, "",                         C::Frame2,  {1560, 360,  735,  285}, kDisabled, {},        38},
    {C::tikdedes, "tikdedes",   K::Label,   "Tik de desaparición:",     C::Frame2,  {3000, 360,  1695, 255}, kDisabled, {},        41},
    {C::tikdd,    "tikdd",      K::TextBox, "",                         C::Frame2,  {4560, 360,  735,  285}, kDisabled, {},        39},
    {C::Label35,  "Label35",    K::Label,   "Color RGB: ",              C::Frame2,  {5880, 360,  1215, 255}, kDisabled, {},        86},
    {C::Text25,   "Text25",     K::TextBox, "0",                        C::Frame2,  {6840, 360,  375,  285}, kDisabled, {},        87},
    // Layer animation.
    {C::Frame4,   "Frame4",     K::Frame,   "Animación:",               C::Frame1,  {240,  1560, 8655, 855}, kNormal,   {},        50},
    {C::Label22,  "Label22",    K::Label,   "Número:",                  C::Frame4,  {240,  360,  975,  255}, kNormal,   {},        51},
    {C::Text16,   "Text16",     K::TextBox, "0",                        C::Frame4,  {960,  360,  495,  285}, kNormal,   {},        53},
    {C::Label23,  "Label23",    K::Label,   "Posición (X,Y):",          C::Frame4,  {1920, 360,  1215, 255}, kNormal,   {},        52},
    {C::Text17,   "Text17",     K::TextBox, "0",                        C::Frame4,  {3120, 360,  375,  285}, kNormal,   kTipRight, 54},
    {C::Label24,  "Label24",    K::Label,   ",",                        C::Frame4,  {3480, 360,  255,  255}, kNormal,   {},        {}},
    {C::Text18,   "Text18",     K::TextBox, "0",                        C::Frame4,  {3600, 360,  375,  285}, kNormal,   kTipDown,  55},
    {C::Label25,  "Label25",    K::Label,   "Tiempo:",                  C::Frame4,  {4680, 360,  975,  255}, kNormal,   {},        57},
    {C::Text19,   "Text19",     K::TextBox, "0",                        C::Frame4,  {5400, 360,  495,  285}, kNormal,   kTipTicks, 58},
    {C::Label32,  "Label32",    K::Label,   "Offset:",                  C::Frame4,  {6840, 360,  615,  255}, kNormal,   {},        81},
    {C::Text15,   "Text15",     K::TextBox, "0",                        C::Frame4,  {7440, 360,  375,  285}, kNormal,   {},        82},
    {C::Label34,  "Label34",    K::Label,   ",",                        C::Frame4,  {7800, 360,  495,  255}, kNormal,   {},        {}},
    {C::Text20,   "Text20",     K::TextBox, "0",                        C::Frame4,  {7920, 360,  375,  285}, kNormal,   {},        85},
    // Mask.
    {C::Frame6,   "Frame6",     K::Frame,   "Máscara:",                 C::Frame1,  {240,  2520, 6255, 735}, kNormal,   {},        59},
    {C::Check8,   "Check8",     K::CheckBox,"Check8",                   C::Frame6,  {960,  0,    255,  195}, kNormal,   {},        90},
    {C::Label30,  "Label30",    K::Label,   "Número:",                  C::Frame6,  {240,  360,  975,  255}, kDisabled, {},        67},
    {C::Text24,   "Text24",     K::TextBox, "0",                        C::Frame6,  {960,  360,  375,  285}, kDisabled, {},        63},
    {C::Label29,  "Label29",    K::Label,   "Posición (X,Y):",          C::Frame6,  {2040, 360,  1215, 255}, kDisabled, {},        66},
    {C::Text23,   "Text23",     K::TextBox, "0",                        C::Frame6,  {3240, 360,  375,  285}, kDisabled, kTipRight, 62},
    {C::Label28,  "Label28",    K::Label,   ",",                        C::Frame6,  {3720, 360,  255,  255}, kNormal,   {},        {}},
    {C::Text22,   "Text22",     K::TextBox, "0",                        C::Frame6,  {3840, 360,  375,  285}, kDisabled, kTipDown,  61},
    {C::Label27,  "Label27",    K::Label,   "Tiempo:",                  C::Frame6,  {4800, 360,  975,  255}, kDisabled, {},        64},
    {C::Text21,   "Text21",     K::TextBox, "0",                        C::Frame6,  {5520, 360,  495,  285}, kDisabled, kTipTicks, 60},
    // Sound.
    {C::Frame5,   "Frame5",     K::Frame,   "Sonido:",                  C::Frame1,  {6600, 2520, 2295, 1095}, kNormal,  {},        68},
    {C::Check7,   "Check7",     K::CheckBox,"Check6",                   C::Frame5,  {720,  0,    255,  255}, kNormal,   {},        72},
    {C::soundfile,"soundfile",  K::TextBox, "c:\\sound.mp3",            C::Frame5,  {240,  360,  1575, 285}, kDisabled, {},        69},
    {C::Label26,  "Label26",    K::Label,   "Loops:",                   C::Frame5,  {240,  720,  735,  255}, kDisabled, {},        80},
    {C::Text14,   "Text14",     K::TextBox, "0",                        C::Frame5,  {840,  720,  375,  285}, kDisabled, {},        79},
    // Background colour.
    {C::Frame3,   "Frame3",     K::Frame,   "Color de fondo:",          C::Frame1,  {240,  3360, 6255, 855}, kNormal,   {},        43},
    {C::Label19,  "Label19",    K::Label,   "Rojo:",                    C::Frame3,  {360,  360,  615,  255}, kNormal,   {},        47},
    {C::rojo,     "rojo",       K::TextBox, "0",                        C::Frame3,  {840,  360,  495,  285}, kNormal,   {},        44},
    {C::Label20,  "Label20",    K::Label,   "Verde:",                   C::Frame3,  {1920, 360,  735,  255}, kNormal,   {},        48},
    {C::verde,    "verde",      K::TextBox, "0",                        C::Frame3,  {2520, 360,  495,  285}, kNormal,   {},        45},
    {C::Label21,  "Label21",    K::Label,   "Azul:",                    C::Frame3,  {3480, 360,  855,  255}, kNormal,   {},        49},
    {C::azul,     "azul",       K::TextBox, "0",                        C::Frame3,  {3960, 360,  495,  285}, kNormal,   {},        46},
    // On the window, above the frames: the animation "<-" and the fade's green and blue.
    {C::Command3, "Command3",   K::Button,  "<-",                       kWindow,    {3720, 1080, 375,  255}, kNormal,   {},        76},
    {C::Text26,   "Text26",     K::TextBox, "0",                        kWindow,    {7680, 1800, 375,  285}, kDisabled, {},        88},
    {C::Text27,   "Text27",     K::TextBox, "0",                        kWindow,    {8160, 1800, 375,  285}, kDisabled, {},        89},
    // Action range grid: column headings and row labels.
    {C::Label5,   "Label5",     K::Label,   "Grupo:",                   kWindow,    {1080, 5280, 735,  255}, kNormal,   {},        {}},
    {C::Label6,   "Label6",     K::Label,   "Imagen:",                  kWindow,    {2160, 5280, 735,  255}, kNormal,   {},        {}},
    {C::Label3,   "Label3",     K::Label,   "X:",                       kWindow,    {3600, 5280, 375,  255}, kNormal,   {},        {}},
    {C::Label4,   "Label4",     K::Label,   "Y:",                       kWindow,    {4680, 5280, 375,  255}, kNormal,   {},        {}},
    {C::Label2,   "Label2",     K::Label,   "Velocidad:",               kWindow,    {5880, 5280, 1095, 255}, kNormal,   {},        {}},
    {C::Label7,   "Label7",     K::Label,   "Desde:",                   kWindow,    {360,  5760, 615,  255}, kNormal,   {},        {}},
    {C::Label8,   "Label8",     K::Label,   "Hasta:",                   kWindow,    {360,  6360, 615,  255}, kNormal,   {},        {}},
    // Row "Desde:".
    {C::Text1,    "Text1",      K::TextBox, "0",                        kWindow,    {1080, 5640, 735,  285}, kNormal,   {},        0},
    {C::Label10,  "Label10",    K::Label,   ",",                        kWindow,    {1920, 5640, 255,  255}, kNormal,   {},        {}},
    {C::Text2,    "Text2",      K::TextBox, "0",                        kWindow,    {2160, 5640, 735,  285}, kNormal,   {},        1},
    {C::Text3,    "Text3",      K::TextBox, "0",                        kWindow,    {3480, 5640, 735,  285}, kNormal,   {},        2},
    {C::Label12,  "Label12",    K::Label,   ",",                        kWindow,    {4320, 5640, 255,  255}, kNormal,   {},        {}},
    {C::Text7,    "Text7",      K::TextBox, "0",                        kWindow,    {4560, 5640, 735,  285}, kNormal,   {},        3},
    {C::Text8,    "Text8",      K::TextBox, "0",                        kWindow,    {6000, 5640, 615,  285}, kNormal,   {},        4},
    // Row "Hasta:".
    {C::Text4,    "Text4",      K::TextBox, "0",                        kWindow,    {1080, 6330, 735,  285}, kNormal,   {},        5},
    {C::Label11,  "Label11",    K::Label,   ",",                        kWindow,    {1920, 6360, 255,  255}, kNormal,   {},        {}},
    {C::Text5,    "Text5",      K::TextBox, "0",                        kWindow,    {2160, 6330, 735,  285}, kNormal,   {},        6},
    {C::Text6,    "Text6",      K::TextBox, "0",                        kWindow,    {3480, 6330, 735,  285}, kNormal,   {},        7},
    {C::Label13,  "Label13",    K::Label,   ",",                        kWindow,    {4320, 6360, 255,  255}, kNormal,   {},        {}},
    {C::Text9,    "Text9",      K::TextBox, "0",                        kWindow,    {4560, 6330, 735,  285}, kNormal,   {},        8},
    {C::Text10,   "Text10",     K::TextBox, "0",                        kWindow,    {6000, 6330, 615,  285}, kHidden,   {},        9},
    // The "Estático" boxes.
    {C::Check1,   "Check1",     K::CheckBox,"Estático",                 kWindow,    {1080, 6840, 1215, 375}, kNormal,   {},        10},
    {C::Check2,   "Check2",     K::CheckBox,"Estático",                 kWindow,    {2160, 6840, 1215, 375}, kNormal,   {},        11},
    {C::Check3,   "Check3",     K::CheckBox,"Estático",                 kWindow,    {3480, 6840, 1215, 375}, kNormal,   {},        12},
    {C::Check4,   "Check4",     K::CheckBox,"Estático",                 kWindow,    {4560, 6840, 1215, 375}, kNormal,   {},        13},
    {C::Check5,   "Check5",     K::CheckBox,"Estático",                 kWindow,    {6000, 6840, 1215, 375}, kTicked,   {},        14},
    // Results of "Generar!".
    {C::Label37,  "Label37",    K::Label,   "Tics",                     kWindow,    {7440, 5280, 615,  255}, kNormal,   {},        95},
    {C::ticsI,    "ticsI",      K::TextBox, "",                         kWindow,    {7320, 5640, 615,  285}, kReadOnly, {},        92},
    {C::Label36,  "Label36",    K::Label,   "Tiempo",                   kWindow,    {7320, 6120, 615,  255}, kNormal,   {},        94},
    {C::tiempoI,  "tiempoI",    K::TextBox, "",                         kWindow,    {7320, 6360, 615,  285}, kReadOnly, {},        93},
    // Bottom row. Label9 reaches past the right edge of the client area.
    {C::Command1, "Command1",   K::Button,  "Generar!",                 kWindow,    {1200, 7560, 1455, 495}, kNormal,   {},        15},
    {C::Label1,   "Label1",     K::Label,   "Nombre del archivo:",      kWindow,    {3480, 7440, 2415, 255}, kNormal,   {},        17},
    {C::Text11,   "Text11",     K::TextBox, "c:\\intro.def",            kWindow,    {3480, 7680, 1695, 285}, kNormal,   {},        16},
    {C::Label9,   "Label9",     K::Label,   "",                         kWindow,    {6000, 7440, 4455, 735}, kNormal,   {},        25},
}};
// clang-format on

constexpr bool ids_follow_table_order() {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (index_of(kControls[i].id) != i)
            return false;
    }
    return true;
}
static_assert(ids_follow_table_order(), "each entry must stand at the place of its ControlId");

constexpr bool takes_focus(Kind kind) {
    return kind == Kind::TextBox || kind == Kind::CheckBox || kind == Kind::Button;
}

std::vector<ControlId> build_focus_order() {
    std::vector<const ControlDef*> focusable;
    for (const ControlDef& def : kControls) {
        if (takes_focus(def.kind) && def.tab)
            focusable.push_back(&def);
    }
    std::sort(focusable.begin(), focusable.end(),
              [](const ControlDef* a, const ControlDef* b) { return *a->tab < *b->tab; });
    std::vector<ControlId> order;
    order.reserve(focusable.size());
    for (const ControlDef* def : focusable)
        order.push_back(def->id);
    return order;
}

}  // namespace

const WindowDef& window_def() {
    return kWindowDef;
}

const std::array<ControlDef, kControlCount>& control_table() {
    return kControls;
}

const ControlDef& control_def(ControlId id) {
    return kControls[index_of(id)];
}

// Captions wider than their boxes in the windows' font, each given the free space before it
// (and "Tiempo" the space beside it) so that it shows whole at 96 and 144 dots per inch.
constexpr std::array<std::pair<ControlId, Twips>, 5> kRoomierCaptions{{
    {C::Label14, {2880, 240, 1200, 255}},
    {C::tikdedes, {2400, 360, 2160, 255}},
    {C::Label23, {1560, 360, 1560, 255}},
    {C::Label29, {1560, 360, 1680, 255}},
    {C::Label36, {7320, 6120, 735, 255}},
}};

Twips shown_place(const ControlDef& def) {
    for (const auto& [id, room] : kRoomierCaptions) {
        if (id == def.id)
            return room;
    }
    return def.place;
}

std::optional<ControlId> find_control(std::string_view name) {
    for (const ControlDef& def : kControls) {
        if (def.name == name)
            return def.id;
    }
    return std::nullopt;
}

std::string_view kind_name(Kind kind) {
    switch (kind) {
        case Kind::Label:
            return "label";
        case Kind::TextBox:
            return "textbox";
        case Kind::CheckBox:
            return "checkbox";
        case Kind::Button:
            return "button";
        case Kind::Frame:
            return "frame";
    }
    return "label";
}

const std::vector<ControlId>& focus_order() {
    static const std::vector<ControlId> order = build_focus_order();
    return order;
}

}  // namespace tavrix
