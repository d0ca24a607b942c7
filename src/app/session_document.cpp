#include "app/session_document.h"

namespace tavrix {

Status<SessionFailure> SessionDocument::save_as(std::string_view path) {
    Status<SessionFailure> saved = form_.save_session(path);
    if (saved.ok()) {
        path_ = path;
        saved_ = form_.snapshot();
    }
    return saved;
}

Status<SessionFailure> SessionDocument::open(std::string_view path) {
    Status<SessionFailure> opened = form_.open_session(path);
    if (opened.ok()) {
        path_ = path;
        saved_ = form_.snapshot();
    }
    return opened;
}

Expected<std::vector<std::string>, std::string> SessionDocument::import_storyboard(
    std::string_view path) {
    auto imported = form_.import_storyboard(path);
    if (imported.ok()) {
        path_.clear();
        saved_.reset();
    }
    return imported;
}

Status<SessionFailure> SessionDocument::recover(std::string_view copy) {
    Status<SessionFailure> opened = form_.open_session(copy);
    if (opened.ok())
        path_.clear();
    return opened;
}

}  // namespace tavrix
