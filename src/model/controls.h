// Every control of the window Form1, declared once. The model, the scripted sessions and
// both on-screen windows are built from this table; nothing else holds the layout.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tavrix {

enum class Kind : std::uint8_t { Label, TextBox, CheckBox, Button, Frame };

// One name per control, in the order of the table below, which is also the stacking order:
// a control lies above those declared before it in the same container.
enum class ControlId : std::uint8_t {
    // clang-format off
    Label15, ndees, Label14, Text12, Check9, Label17, Text13,
    Label33,
    Frame1, Label16, botant, Escena, botsig, Label18, nroAnim, Command2, Label38, cantA,
    Frame2, Check6, tikdea, ttika, tikdedes, tikdd, Label35, Text25,
    Frame4, Label22, Text16, Label23, Text17, Label24, Text18, Label25, Text19, Label32, Text15,
    Label34, Text20,
    Frame6, Check8, Label30, Text24, Label29, Text23, Label28, Text22, Label27, Text21,
    Frame5, Check7, soundfile, Label26, Text14,
    Frame3, Label19, rojo, Label20, verde, Label21, azul,
    Command3, Text26, Text27,
    Label5, Label6, Label3, Label4, Label2, Label7, Label8,
    Text1, Label10, Text2, Text3, Label12, Text7, Text8,
    Text4, Label11, Text5, Text6, Label13, Text9, Text10,
    Check1, Check2, Check3, Check4, Check5,
    Label37, ticsI, Label36, tiempoI,
    Command1, Label1, Text11, Label9,
    // clang-format on
};

inline constexpr std::size_t kControlCount = static_cast<std::size_t>(ControlId::Label9) + 1;

constexpr std::size_t index_of(ControlId id) {
    return static_cast<std::size_t>(id);
}

// Position and size in twips, relative to the container's top-left corner.
struct Twips {
    int left;
    int top;
    int width;
    int height;
};

// What a control shows when the window is created, before Form_Load.
struct Initially {
    bool enabled = true;
    bool visible = true;
    int value = 0;  // check boxes: 0 cleared, 1 ticked
    // Filled by the program alone: a person can select and copy its text but not type it.
    bool read_only = false;
};

struct ControlDef {
    ControlId id;
    std::string_view name;
    Kind kind;
    std::string_view text;               // caption, or a text box's default text
    std::optional<ControlId> container;  // no container: the window's client area
    Twips place;
    Initially initially;
    std::string_view tooltip;
    std::optional<int> tab;  // place in the keyboard focus order; none for a few labels
};

struct WindowDef {
    std::string_view caption;
    int client_width;   // twips
    int client_height;  // twips
};

inline constexpr int kTwipsPerPixel = 15;  // at 96 dots per inch

const WindowDef& window_def();
const std::array<ControlDef, kControlCount>& control_table();
const ControlDef& control_def(ControlId id);
std::optional<ControlId> find_control(std::string_view name);
// Where the windows draw a control: its place, but for a few captions that need more room
// than their boxes and take the free space before them.
[[nodiscard]] Twips shown_place(const ControlDef& def);
std::string_view kind_name(Kind kind);

// The controls that take keyboard focus, in focus order (by tab index).
const std::vector<ControlId>& focus_order();

}  // namespace tavrix
