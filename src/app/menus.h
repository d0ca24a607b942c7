// The window's menu bar, written once for both windows: each menu's title and, in bar order,
// every item with its access key (the letter after "&"), its shortcut and whether a separator
// stands above it. A window builds its bar from these rows and gives each command its
// handler, so that a new item is one row here and one case in each window's handler.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tavrix {

enum class Menu : std::uint8_t { File, Tools };

enum class MenuCommand : std::uint8_t {
    OpenSession,
    SaveSession,
    SaveSessionAs,
    Generate,
    ExportStoryboard,
    ImportStoryboard,
    Quit,
    Check,
    Preview,
    EngineReady,
};

// The whole storyboard's items without their "&", where the windows name the same action
// elsewhere: the title of the export's progress, and of the import's file dialog and report.
inline constexpr std::string_view kExportCaption = "Generar storyboard completo";
inline constexpr std::string_view kImportCaption = "Importar storyboard";

// A key with the modifiers held with it: a capital letter, or a function key.
struct Shortcut {
    char letter = '\0';         // 'A' to 'Z'
    std::uint8_t function = 0;  // 1 to 12 for F1 to F12, when there is no letter
    bool control = false;
    bool shift = false;

    [[nodiscard]] bool empty() const { return letter == '\0' && function == 0; }
    friend bool operator==(const Shortcut&, const Shortcut&) = default;
};

struct MenuTitle {
    Menu menu;
    std::string_view caption;  // with "&" before its access key
};

struct MenuItem {
    Menu menu;
    MenuCommand command;
    std::string caption;  // with "&" before its access key
    Shortcut shortcut;    // may be empty
    bool separator_before = false;
    bool checkable = false;  // shows a check mark, which the window keeps
};

// The menus in bar order, and every item in its menu's order.
[[nodiscard]] std::span<const MenuTitle> menu_titles();
[[nodiscard]] std::span<const MenuItem> menu_items();

// The letter after a caption's "&" ("&&" is a plain "&") in lower case, as both windows match
// it to the key pressed, or '\0' when it has none.
[[nodiscard]] char access_key(std::string_view caption);

// How Windows writes a shortcut beside its item: "Ctrl+Mayús+S", "F5".
[[nodiscard]] std::string shortcut_text(Shortcut shortcut);

}  // namespace tavrix
