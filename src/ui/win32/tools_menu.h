// The "Herramientas" menu of the window: "Comprobar" (Ctrl+K), whose findings are shown in
// one window with a read-only text that can be copied, "Vista previa" (F5) and the check
// item "Archivo listo para el motor".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tavrix::win32 {

// The menu commands, apart from the controls' identifiers.
inline constexpr int kCheckCommand = 900;
inline constexpr int kEngineReadyCommand = 901;
inline constexpr int kPreviewCommand = 902;

// A menu bar holding "Herramientas"; a menu put in front of it keeps "Herramientas" last.
HMENU create_menu_bar();
// Ctrl+K for "Comprobar", F5 for "Vista previa".
HACCEL create_accelerators();
void show_engine_ready(HMENU bar, bool on);

// The findings, or that there are none; returns when the person closes the window.
void show_findings(HWND owner, HINSTANCE instance, const std::vector<std::string>& findings);

}  // namespace tavrix::win32
