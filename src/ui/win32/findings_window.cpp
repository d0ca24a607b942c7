#include "ui/win32/findings_window.h"

#include <string_view>

#include "app/menus.h"
#include "storyboard/check.h"
#include "system/text_win32.h"
#include "ui/win32/dpi.h"
#include "ui/win32/window_class.h"

namespace tavrix::win32 {
namespace {

constexpr wchar_t kClassName[] = L"TavrixComprobar";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr int kText = 100;
constexpr int kCopy = 101;

std::wstring joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return widen(text);
}

void copy_all(HWND window) {
    HWND text = GetDlgItem(window, kText);
    SendMessageW(text, EM_SETSEL, 0, -1);
    SendMessageW(text, WM_COPY, 0, 0);
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(w) == kCopy) {
                copy_all(window);
            } else if (LOWORD(w) == IDCANCEL || LOWORD(w) == IDOK) {
                DestroyWindow(window);  // Cerrar, Esc or Enter
            }
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        default:
            return DefWindowProcW(window, message, w, l);
    }
}

struct Box {
    int left;
    int top;
    int width;
    int height;
};

HWND create_child(HWND parent, HINSTANCE instance, const wchar_t* kind, const wchar_t* text,
                  DWORD style, int identifier, Box place, HFONT font) {
    const DWORD edge = std::wstring_view(kind) == L"EDIT" ? WS_EX_CLIENTEDGE : 0;
    HWND child = CreateWindowExW(edge, kind, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                                 place.left, place.top, place.width, place.height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(identifier)),
                                 instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return child;
}

// The lines in a read-only text that can be copied, until the person closes the window.
void show_lines(HWND owner, HINSTANCE instance, const std::wstring& title,
                const std::wstring& text) {
    register_dialog_class(instance, procedure, kClassName);
    const int dpi = window_dpi(owner);
    const int width = scaled(560, dpi);
    const int height = scaled(240, dpi);
    const int margin = scaled(10, dpi);
    const int button_width = scaled(80, dpi);
    const int button_height = scaled(25, dpi);
    const SIZE size = outer_size(SIZE{width, height}, kStyle, WS_EX_DLGMODALFRAME, dpi);
    RECT frame{};
    GetWindowRect(owner, &frame);
    HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, title.c_str(), kStyle,
                                  (frame.left + frame.right - size.cx) / 2,
                                  (frame.top + frame.bottom - size.cy) / 2, size.cx, size.cy, owner,
                                  nullptr, instance, nullptr);
    if (!window)
        return;
    const Font font = dialog_font(dpi);
    const int buttons_top = height - margin - button_height;
    create_child(window, instance, L"EDIT", text.c_str(),
                 ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL, kText,
                 {margin, margin, width - 2 * margin, buttons_top - 2 * margin}, font.get());
    create_child(window, instance, L"BUTTON", L"&Copiar", BS_PUSHBUTTON, kCopy,
                 {width - 2 * (margin + button_width), buttons_top, button_width, button_height},
                 font.get());
    HWND close = create_child(
        window, instance, L"BUTTON", L"Cerrar", BS_DEFPUSHBUTTON, IDCANCEL,
        {width - margin - button_width, buttons_top, button_width, button_height}, font.get());
    // Modal: the editor waits until the person closes the findings.
    EnableWindow(owner, FALSE);
    ShowWindow(window, SW_SHOW);
    SetFocus(close);
    MSG message{};
    while (IsWindow(window) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The owner is enabled first, or the system would activate some other program's window.
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
    if (message.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(message.wParam));
}

}  // namespace

void show_findings(HWND owner, HINSTANCE instance, const std::vector<std::string>& findings) {
    show_lines(owner, instance, L"Comprobar",
               findings.empty() ? widen(kNoFindings) : joined(findings));
}

void show_not_taken(HWND owner, HINSTANCE instance, const std::vector<std::string>& lines) {
    show_lines(owner, instance, widen(kImportCaption), joined(lines));
}

}  // namespace tavrix::win32
