// The session file behind a window: where the session was last saved or opened from, and
// whether the window still holds what that file holds. Both windows' "Archivo" menus, their
// titles and their close questions are built on it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/form1.h"

namespace tavrix {

class SessionDocument {
  public:
    // The session the window holds now counts as saved: at start-up, the start-up session.
    explicit SessionDocument(Form1& form) : form_(form), saved_(form.snapshot()) {}

    // Empty until the session is saved or opened.
    const std::string& path() const { return path_; }
    // Differs from the session last saved or opened; stepping away and back is no change.
    [[nodiscard]] bool unsaved() const { return !saved_ || !form_.holds(*saved_); }

    // Each failure is the window's message, and changes nothing.
    Status<SessionFailure> save_as(std::string_view path);
    Status<SessionFailure> open(std::string_view path);
    // Opens a recovery copy as a session with no file of its own: unsaved until saved.
    Status<SessionFailure> recover(std::string_view copy);
    // "Importar storyboard...": the window's work replaced by the storyboard file's, as a
    // session with no file of its own, unsaved until saved; gives what was not taken. A
    // failure is the window's message, and changes nothing.
    Expected<std::vector<std::string>, std::string> import_storyboard(std::string_view path);
    // A copy of the session as it stands, which changes neither the path nor what counts
    // as saved.
    Status<SessionFailure> write_copy(std::string_view path) const {
        return form_.save_session(path);
    }

  private:
    Form1& form_;
    std::string path_;
    std::optional<Session> saved_;  // none when nothing the window holds was saved
};

}  // namespace tavrix
