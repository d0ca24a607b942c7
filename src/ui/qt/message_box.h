// The message boxes of the Qt window, worded and drawn like the Win32 window's: the form's
// caption as the title, the icon of the message's kind and Spanish buttons.
#pragma once

#include <string>

#include "storyboard/messages.h"

class QWidget;

namespace tavrix::qt {

void show_message(QWidget* owner, MessageKind kind, const std::string& text);

// A yes-or-no question; "No" is the default and the answer when the box is closed.
[[nodiscard]] bool confirmed(QWidget* owner, const std::string& question);

}  // namespace tavrix::qt
