#include "app/session_flow.h"

namespace tavrix {

void SessionFlow::open_session() {
    if (!settle_unsaved())
        return;
    if (const auto path = window_.choose_file(FileChoice::Open, document_.path()))
        open_file(*path);
}

bool SessionFlow::open_file(std::string_view path) {
    const Status<SessionFailure> opened = document_.open(path);
    window_.show_opened_session();
    return settle(opened);
}

bool SessionFlow::save() {
    if (document_.path().empty())
        return save_as();
    return settle(document_.save_as(document_.path()));
}

bool SessionFlow::save_as() {
    const auto path = window_.choose_file(FileChoice::Save, document_.path());
    return path && settle(document_.save_as(*path));
}

void SessionFlow::import_storyboard() {
    if (!settle_unsaved())
        return;
    const auto path = window_.choose_file(FileChoice::Storyboard, document_.path());
    if (!path)
        return;
    const auto imported = document_.import_storyboard(*path);
    if (!imported.ok()) {
        window_.show_failure(imported.error());
        return;
    }
    window_.show_opened_session();
    window_.write_recovery_copy();
    window_.refresh_title();
    if (!imported.value().empty())
        window_.show_not_taken(imported.value());
}

bool SessionFlow::settle_unsaved() {
    if (!document_.unsaved())
        return true;
    switch (window_.ask_unsaved({"¿Guardar los cambios de la sesión?", "Guardar", "No guardar"})) {
        case UnsavedAnswer::Save:
            return save();
        case UnsavedAnswer::Discard:
            return true;
        case UnsavedAnswer::Stay:
            break;
    }
    return false;
}

bool SessionFlow::offer_recovery(const std::string& copy, std::string_view written) {
    const std::string offer =
        "Se encontró una sesión sin guardar del " + std::string(written) + ". ¿Recuperarla?";
    if (!window_.ask({offer, "Recuperar", "Descartar"})) {
        window_.remove_file(copy);
        return false;
    }
    const Status<SessionFailure> recovered = document_.recover(copy);
    window_.show_opened_session();
    if (!recovered.ok()) {
        window_.show_failure(recovered.error().message);
        return false;
    }
    // The copy is this window's now: written under its own name before the old one goes.
    window_.write_recovery_copy();
    window_.remove_file(copy);
    window_.refresh_title();
    return true;
}

// After the session file was read or written: a failure is shown; a success leaves no need
// for the recovery copy, and the title names the file.
bool SessionFlow::settle(const Status<SessionFailure>& result) {
    if (!result.ok()) {
        window_.show_failure(result.error().message);
        return false;
    }
    window_.remove_recovery_copy();
    window_.refresh_title();
    return true;
}

}  // namespace tavrix
