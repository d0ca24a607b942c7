// The findings of "Comprobar" in one window, with a read-only text that can be copied.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tavrix::win32 {

// The findings, or that there are none; returns when the person closes the window.
void show_findings(HWND owner, HINSTANCE instance, const std::vector<std::string>& findings);

}  // namespace tavrix::win32
