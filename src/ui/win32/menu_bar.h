// The window's menu bar and its shortcuts, built from the menu table: each item's command
// identifier follows from its command, apart from the controls' identifiers.
#pragma once

#include <windows.h>

#include <optional>

#include "app/menus.h"

namespace tavrix::win32 {

inline constexpr int kFirstMenuCommand = 900;

[[nodiscard]] constexpr int command_id(MenuCommand command) {
    return kFirstMenuCommand + static_cast<int>(command);
}
// The command of a menu item's or accelerator's identifier, if it is one.
[[nodiscard]] std::optional<MenuCommand> menu_command(int identifier);

// Every menu with its items, the shortcut written beside each caption.
[[nodiscard]] HMENU create_menu_bar();
// The items' shortcuts, which the window translates before any control sees the key.
[[nodiscard]] HACCEL create_accelerators();
void show_checked(HMENU bar, MenuCommand command, bool on);

}  // namespace tavrix::win32
