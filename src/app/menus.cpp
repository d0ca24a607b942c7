#include "app/menus.h"

#include <array>
#include <cctype>
#include <vector>

#include "app/form1.h"

namespace tavrix {
namespace {

constexpr Shortcut control(char letter) {
    return {.letter = letter, .control = true};
}

constexpr Shortcut control_shift(char letter) {
    return {.letter = letter, .control = true, .shift = true};
}

constexpr Shortcut function_key(std::uint8_t number) {
    return {.function = number};
}

// `caption` with its access key on the character at `key`, and `tail` after it.
std::string with_access_key(std::string_view caption, std::size_t key, std::string_view tail = {}) {
    std::string text;
    text.reserve(caption.size() + 1 + tail.size());
    text.append(caption.substr(0, key)).append("&").append(caption.substr(key)).append(tail);
    return text;
}

constexpr std::array kTitles{
    MenuTitle{Menu::File, "&Archivo"},
    MenuTitle{Menu::Tools, "&Herramientas"},
};

constexpr bool kSeparated = true;  // a separator between the item and those above it
constexpr bool kCheckable = true;

}  // namespace

std::span<const MenuTitle> menu_titles() {
    return kTitles;
}

std::span<const MenuItem> menu_items() {
    using M = Menu;
    using C = MenuCommand;
    static const std::vector<MenuItem> kItems{
        {M::File, C::OpenSession, "&Abrir sesión...", control('O')},
        {M::File, C::SaveSession, "&Guardar sesión", control('S')},
        {M::File, C::SaveSessionAs, "Guardar sesión &como...", control_shift('S')},
        // "Generar!" as the button has it, its key on the "n": the "G" is "Guardar sesión"'s;
        // "Generar storyboard completo" on the "t", since "s" is "Salir"'s and "c" "como"'s.
        {M::File, C::Generate, with_access_key(generate_caption(), 2), {}, kSeparated},
        {M::File, C::ExportStoryboard, with_access_key(kExportCaption, 9), control('G')},
        {M::File, C::ImportStoryboard, with_access_key(kImportCaption, 0, "..."), {}},
        {M::File, C::Quit, "&Salir", control('Q'), kSeparated},
        {M::Tools, C::Check, "&Comprobar", control('K')},
        {M::Tools, C::Preview, "&Vista previa", function_key(5)},
        {M::Tools, C::EngineReady, "Archivo &listo para el motor", {}, !kSeparated, kCheckable},
    };
    return kItems;
}

char access_key(std::string_view caption) {
    for (std::size_t at = 0; at + 1 < caption.size(); ++at) {
        if (caption[at] != '&')
            continue;
        if (caption[at + 1] != '&')
            return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[at + 1])));
        ++at;  // "&&" is a plain "&"
    }
    return '\0';
}

std::string shortcut_text(Shortcut shortcut) {
    std::string text;
    if (shortcut.control)
        text += "Ctrl+";
    if (shortcut.shift)
        text += "Mayús+";
    if (shortcut.letter != '\0')
        text += shortcut.letter;
    else if (shortcut.function != 0)
        text.append("F").append(std::to_string(shortcut.function));
    return text;
}

}  // namespace tavrix
