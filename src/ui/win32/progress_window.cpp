#include "ui/win32/progress_window.h"

#include <string>

#include "storyboard/messages.h"
#include "system/text_win32.h"
#include "ui/win32/window_class.h"

namespace tavrix::win32 {
namespace {

constexpr wchar_t kClassName[] = L"TavrixProgreso";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

// The same three lines as on the Qt window; a static control breaks lines at CR LF.
std::wstring shown_progress(std::uint64_t frames, std::uint64_t bytes) {
    std::wstring text;
    for (const wchar_t c : widen(progress_text(RunProgress{frames, bytes}))) {
        if (c == L'\n')
            text += L'\r';
        text += c;
    }
    return text;
}

}  // namespace

std::unique_ptr<ProgressWindow> ProgressWindow::open(HWND owner, HINSTANCE instance,
                                                     std::string_view title) {
    register_dialog_class(instance, procedure, kClassName);
    auto progress = std::make_unique<ProgressWindow>(owner);
    const int dpi = window_dpi(owner);
    const SIZE size = outer_size(SIZE{scaled(340, dpi), scaled(124, dpi)}, kStyle, 0, dpi);
    RECT frame{};
    GetWindowRect(owner, &frame);
    const int left = (frame.left + frame.right - size.cx) / 2;
    const int top = (frame.top + frame.bottom - size.cy) / 2;
    progress->window_ =
        CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, widen(title).c_str(), kStyle, left, top,
                        size.cx, size.cy, owner, nullptr, instance, progress.get());
    if (!progress->window_)
        return nullptr;
    progress->font_ = dialog_font(dpi);
    progress->create_children(instance);
    EnableWindow(owner, FALSE);
    ShowWindow(progress->window_, SW_SHOW);
    UpdateWindow(progress->window_);
    return progress;
}

ProgressWindow::~ProgressWindow() {
    // The owner is enabled first, or the system would activate some other program's window.
    EnableWindow(owner_, TRUE);
    if (window_)
        DestroyWindow(window_);
}

void ProgressWindow::create_children(HINSTANCE instance) {
    const int dpi = window_dpi(window_);
    text_ = CreateWindowExW(0, L"STATIC", shown_progress(0, 0).c_str(),
                            WS_CHILD | WS_VISIBLE | SS_NOPREFIX, scaled(12, dpi), scaled(14, dpi),
                            scaled(316, dpi), scaled(54, dpi), window_, nullptr, instance, nullptr);
    cancel_ =
        CreateWindowExW(0, L"BUTTON", widen(kCancelButton).c_str(),
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, scaled(128, dpi),
                        scaled(84, dpi), scaled(84, dpi), scaled(26, dpi), window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)), instance, nullptr);
    for (HWND child : {text_, cancel_})
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SetFocus(cancel_);
}

void ProgressWindow::show_progress(std::uint64_t frames, std::uint64_t bytes) {
    SetWindowTextW(text_, shown_progress(frames, bytes).c_str());
}

bool ProgressWindow::pump() {
    MSG message{};
    while (!cancelled_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            cancelled_ = true;
            PostQuitMessage(static_cast<int>(message.wParam));  // for the main loop
            break;
        }
        if (IsDialogMessageW(window_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return !cancelled_;
}

LRESULT CALLBACK ProgressWindow::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self) {
        const bool cancel_pressed = message == WM_COMMAND && LOWORD(w) == IDCANCEL;
        if (cancel_pressed || message == WM_CLOSE) {
            self->cancelled_ = true;  // the run ends and then closes this window
            return 0;
        }
        if (message == WM_NCDESTROY)
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return DefWindowProcW(window, message, w, l);
}

}  // namespace tavrix::win32
