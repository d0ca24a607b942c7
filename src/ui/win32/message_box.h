// The message boxes of the Win32 window, worded and drawn like the Qt window's: the form's
// caption as the title, the icon of the message's kind and Spanish buttons, whatever
// language the system speaks.
#pragma once

#include <windows.h>

#include <string>

#include "storyboard/messages.h"

namespace tavrix::win32 {

void show_message(HWND owner, MessageKind kind, const std::string& text);

// A yes-or-no question; "No" is the default.
[[nodiscard]] bool confirmed(HWND owner, const std::string& question);

}  // namespace tavrix::win32
