// The session file on disk, through the file layer: saved whole (the earlier file stays until
// the new one is complete) and opened only once all of it is read and checked.
#pragma once

#include <string>
#include <string_view>

#include "common/expected.h"
#include "session/session.h"
#include "system/file_input.h"
#include "system/output.h"

namespace tavrix {

// Each says why it failed in Spanish, without the file's name.
[[nodiscard]] Status<std::string> save_session_file(const OutputFactory& open_output,
                                                    std::string_view path, const Session& session);
[[nodiscard]] Expected<Session, std::string> open_session_file(const FileReader& read,
                                                               std::string_view path);

}  // namespace tavrix
