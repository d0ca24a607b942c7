// What the window's sessions need of Windows: the file dialogs, the questions with buttons
// of their own, and the recovery copies in %LOCALAPPDATA%\Tavrix.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/session_flow.h"

namespace tavrix::win32 {

// The session or storyboard file the person chose, or nothing when they cancelled.
[[nodiscard]] std::optional<std::wstring> choose_session_file(HWND owner, FileChoice kind,
                                                              const std::wstring& current);

// A question with two or three buttons of its own; the answer is IDYES for the first, IDNO
// for the second and IDCANCEL for "Cancelar" (or the dialog closed).
struct Question {
    std::wstring text;
    std::wstring yes;
    std::wstring no;
    bool can_cancel = false;
};
[[nodiscard]] int ask(HWND owner, const Question& question);

// This window's recovery copy, named after its process; empty when the data folder cannot
// be found or made.
[[nodiscard]] std::wstring own_recovery_copy();

struct RecoveryCopy {
    std::wstring path;
    std::wstring written;  // "3 de marzo de 2025 a las 14:05", local time
};
// The copies left by windows that are no longer running, newest first.
[[nodiscard]] std::vector<RecoveryCopy> orphaned_copies();

}  // namespace tavrix::win32
