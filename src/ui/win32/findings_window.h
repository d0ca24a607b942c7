// The findings of "Comprobar" in one window, with a read-only text that can be copied; and in
// the same window, what "Importar storyboard..." could not take.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tavrix::win32 {

// The findings, or that there are none; returns when the person closes the window.
void show_findings(HWND owner, HINSTANCE instance, const std::vector<std::string>& findings);
// One line each; returns when the person closes the window.
void show_not_taken(HWND owner, HINSTANCE instance, const std::vector<std::string>& lines);

}  // namespace tavrix::win32
