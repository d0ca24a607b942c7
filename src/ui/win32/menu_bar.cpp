#include "ui/win32/menu_bar.h"

#include <string>
#include <vector>

#include "system/text_win32.h"

namespace tavrix::win32 {
namespace {

std::wstring item_text(const MenuItem& item) {
    std::string text = item.caption;
    if (!item.shortcut.empty())
        text.append("\t").append(shortcut_text(item.shortcut));
    return widen(text);
}

ACCEL accelerator(const MenuItem& item) {
    const Shortcut& keys = item.shortcut;
    BYTE flags = FVIRTKEY;
    if (keys.control)
        flags |= FCONTROL;
    if (keys.shift)
        flags |= FSHIFT;
    const WORD key = keys.letter != '\0' ? static_cast<WORD>(keys.letter)
                                         : static_cast<WORD>(VK_F1 + keys.function - 1);
    return {flags, key, static_cast<WORD>(command_id(item.command))};
}

}  // namespace

std::optional<MenuCommand> menu_command(int identifier) {
    for (const MenuItem& item : menu_items()) {
        if (command_id(item.command) == identifier)
            return item.command;
    }
    return std::nullopt;
}

HMENU create_menu_bar() {
    HMENU bar = CreateMenu();
    for (const MenuTitle& title : menu_titles()) {
        HMENU menu = CreatePopupMenu();
        for (const MenuItem& item : menu_items()) {
            if (item.menu != title.menu)
                continue;
            if (item.separator_before)
                AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(command_id(item.command)),
                        item_text(item).c_str());
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), widen(title.caption).c_str());
    }
    return bar;
}

HACCEL create_accelerators() {
    std::vector<ACCEL> keys;
    for (const MenuItem& item : menu_items()) {
        if (!item.shortcut.empty())
            keys.push_back(accelerator(item));
    }
    return CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

void show_checked(HMENU bar, MenuCommand command, bool on) {
    CheckMenuItem(bar, static_cast<UINT>(command_id(command)),
                  MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace tavrix::win32
