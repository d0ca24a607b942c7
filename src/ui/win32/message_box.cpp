#include "ui/win32/message_box.h"

#include <utility>

#include "model/controls.h"
#include "system/text_win32.h"

namespace tavrix::win32 {
namespace {

thread_local HHOOK hook = nullptr;

// The system names the buttons in its own language; they are renamed as the box opens.
LRESULT CALLBACK name_the_buttons(int code, WPARAM w, LPARAM l) {
    if (code == HCBT_ACTIVATE) {
        const auto box = reinterpret_cast<HWND>(w);
        SetDlgItemTextW(box, IDOK, widen(kCloseButton).c_str());
        SetDlgItemTextW(box, IDYES, widen(kYesButton).c_str());
        SetDlgItemTextW(box, IDNO, widen(kNoButton).c_str());
        UnhookWindowsHookEx(std::exchange(hook, nullptr));
        return 0;
    }
    return CallNextHookEx(hook, code, w, l);
}

int message_box(HWND owner, const std::string& text, UINT style) {
    const std::wstring shown = widen(text);
    const std::wstring caption = widen(window_def().caption);
    hook = SetWindowsHookExW(WH_CBT, name_the_buttons, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxW(owner, shown.c_str(), caption.c_str(), style);
    if (hook)
        UnhookWindowsHookEx(std::exchange(hook, nullptr));
    return answer;
}

}  // namespace

void show_message(HWND owner, MessageKind kind, const std::string& text) {
    const UINT icon = kind == MessageKind::Failure   ? MB_ICONERROR
                      : kind == MessageKind::Warning ? MB_ICONWARNING
                                                     : MB_ICONINFORMATION;
    (void)message_box(owner, text, MB_OK | icon);
}

bool confirmed(HWND owner, const std::string& question) {
    return message_box(owner, question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

}  // namespace tavrix::win32
