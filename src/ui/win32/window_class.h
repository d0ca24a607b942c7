// The window class of the program's own small dialogs (progress, findings, preview): the
// dialog background and the arrow cursor; and the procedure of a window an object owns.
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

// The window procedure of a window that an object owns, the object being the window's
// creation parameter: the object keeps the window's handle until the window is gone, and
// `handle` answers its messages.
template <typename Owner>
LRESULT CALLBACK owned_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, w, l);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, w, l);
    }
    return self->handle(message, w, l);
}

}  // namespace tavrix::win32
