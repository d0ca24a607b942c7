// The window class of the program's own small dialogs (progress, findings): the dialog
// background and the arrow cursor.
#pragma once

#include <windows.h>

namespace tavrix::win32 {

// Registers the class unless the system already knows it.
inline void register_dialog_class(HINSTANCE instance, WNDPROC procedure, const wchar_t* name) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    if (GetClassInfoExW(instance, name, &window_class))
        return;
    window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = name;
    RegisterClassExW(&window_class);
}

}  // namespace tavrix::win32
