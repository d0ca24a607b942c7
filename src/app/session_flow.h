// The session commands of the "Archivo" menu, the same in every window: what is asked and in
// which order, and what a failure or a success leaves behind. A window lends its dialogs and
// its title through SessionWindow; the flow keeps the session file in a SessionDocument.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/session_document.h"

namespace tavrix {

// A session file to open or to save to, or a storyboard file to import.
enum class FileChoice : std::uint8_t { Open, Save, Storyboard };
enum class UnsavedAnswer : std::uint8_t { Save, Discard, Stay };

// A question and its two answers, in the window's words.
struct SessionQuestion {
    std::string text;
    std::string_view yes;
    std::string_view no;
};

// What a window does for the flow.
class SessionWindow {
  public:
    virtual ~SessionWindow() = default;
    // The file the person picks, starting from `current`; nothing when they cancel.
    virtual std::optional<std::string> choose_file(FileChoice kind, const std::string& current) = 0;
    // "Guardar", "No guardar", or cancelled.
    virtual UnsavedAnswer ask_unsaved(const SessionQuestion& question) = 0;
    // True for the first answer.
    virtual bool ask(const SessionQuestion& question) = 0;
    virtual void show_failure(const std::string& message) = 0;
    // Every control shows the session the form now holds.
    virtual void show_opened_session() = 0;
    // What an import could not take, one line each, in a dialog like "Comprobar"'s.
    virtual void show_not_taken(const std::vector<std::string>& lines) = 0;
    // The title names the session file and marks unsaved changes.
    virtual void refresh_title() = 0;
    // This window's recovery copy of unsaved changes: written now, or no longer needed.
    virtual void write_recovery_copy() = 0;
    virtual void remove_recovery_copy() = 0;
    virtual void remove_file(const std::string& path) = 0;
};

class SessionFlow {
  public:
    SessionFlow(SessionDocument& document, SessionWindow& window)
        : document_(document), window_(window) {}

    // Asks about unsaved changes, then which file to open.
    void open_session();
    bool open_file(std::string_view path);
    // Under the session's own file; asks for a name when it has none.
    bool save();
    bool save_as();
    // "Importar storyboard...": asks about unsaved changes, then which storyboard file; its
    // scenes replace the window's work as an unsaved session with no file of its own.
    void import_storyboard();
    // Asks whether to save unsaved changes; false when the person would rather stay.
    [[nodiscard]] bool settle_unsaved();
    // Offers the recovery copy a stopped window wrote at `written`: declined, it is removed;
    // recovered, it is this window's session, with no file of its own. True when recovered.
    bool offer_recovery(const std::string& copy, std::string_view written);

  private:
    bool settle(const Status<SessionFailure>& result);

    SessionDocument& document_;
    SessionWindow& window_;
};

}  // namespace tavrix
