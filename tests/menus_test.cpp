// The menu bar both windows build: a key pressed with Alt, or a shortcut, reaches one item only.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/menus.h"

namespace tavrix {
namespace {

// What keeps a person's key from reaching one item: two menus, or two items of one menu,
// with the same access key, an item without one, two items of the window with one shortcut,
// and a command listed twice.
std::vector<std::string> clashes(std::span<const MenuTitle> titles,
                                 std::span<const MenuItem> items) {
    std::vector<std::string> found;
    std::set<char> bar_keys;
    std::set<std::pair<Menu, char>> item_keys;
    std::vector<Shortcut> shortcuts;
    std::set<MenuCommand> commands;
    for (const MenuTitle& title : titles) {
        if (!bar_keys.insert(access_key(title.caption)).second)
            found.push_back("access key of menu " + std::string(title.caption));
    }
    for (const MenuItem& item : items) {
        const char key = access_key(item.caption);
        if (key == '\0' || !item_keys.insert({item.menu, key}).second)
            found.push_back("access key of " + item.caption);
        if (!item.shortcut.empty()) {
            if (std::find(shortcuts.begin(), shortcuts.end(), item.shortcut) != shortcuts.end())
                found.push_back("shortcut of " + item.caption);
            shortcuts.push_back(item.shortcut);
        }
        if (!commands.insert(item.command).second)
            found.push_back("command of " + item.caption);
    }
    return found;
}

TEST(Menus, EveryKeyReachesOneItem) {
    EXPECT_EQ(clashes(menu_titles(), menu_items()), std::vector<std::string>{});
}

// The same check finds each kind of clash, and lets one key serve two menus.
TEST(Menus, ClashesAreFound) {
    using M = Menu;
    using C = MenuCommand;
    const Shortcut control_s{.letter = 'S', .control = true};
    const MenuTitle titles[] = {{M::File, "&Archivo"}, {M::Tools, "&archivo"}};
    const MenuItem items[] = {
        {M::File, C::OpenSession, "&Abrir", control_s},
        {M::File, C::SaveSession, "&abrir otra", {}},
        {M::Tools, C::Check, "&Abrir &&", {.letter = 'S', .control = true, .shift = true}},
        {M::Tools, C::Preview, "Sin tecla", {.function = 5}},
        {M::Tools, C::Quit, "&Salir", control_s},
        {M::Tools, C::Quit, "Sa&lir", {}},
    };
    EXPECT_EQ(clashes(titles, items),
              (std::vector<std::string>{"access key of menu &archivo", "access key of &abrir otra",
                                        "access key of Sin tecla", "shortcut of &Salir",
                                        "command of Sa&lir"}));
}

// The menus as a person reads them in the Win32 window: each item's caption, then its
// shortcut as Windows writes it beside the item, a line of dashes for a separator.
TEST(Menus, ReadAsTheWindowShowsThem) {
    std::string shown;
    for (const MenuItem& item : menu_items()) {
        if (item.separator_before)
            shown += "--\n";
        shown += item.caption;
        if (!item.shortcut.empty())
            shown += "\t" + shortcut_text(item.shortcut);
        shown += "\n";
    }
    EXPECT_EQ(shown,
              "&Abrir sesión...\tCtrl+O\n&Guardar sesión\tCtrl+S\n"
              "Guardar sesión &como...\tCtrl+Mayús+S\n--\nGe&nerar!\n"
              "Generar s&toryboard completo\tCtrl+G\n&Importar storyboard...\n--\n"
              "&Salir\tCtrl+Q\n&Comprobar\tCtrl+K\n&Vista previa\tF5\n"
              "Archivo &listo para el motor\n");
    EXPECT_EQ(access_key("A&&B &Cd"), 'c');
}

}  // namespace
}  // namespace tavrix
