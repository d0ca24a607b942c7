#include "session/session_file.h"

#include <memory>

#include "common/encoding.h"

namespace tavrix {

Status<std::string> save_session_file(const OutputFactory& open_output, std::string_view path,
                                      const Session& session) {
    const std::string bytes = session_file_bytes(session);
    // A text that is not UTF-8 could not be read back: such a file is never written.
    if (!is_ascii(bytes) && !is_valid_utf8(bytes))
        return std::string("un texto no es UTF-8 válido");
    const std::unique_ptr<Output> output = open_output();
    if (const IoStatus written = write_whole(*output, path, bytes); !written.ok())
        return written.reason();
    return Success{};
}

Expected<Session, std::string> open_session_file(const FileReader& read, std::string_view path) {
    if (!read)
        return std::string("no se pueden leer archivos");
    const FileContents contents = read(path, kSessionFileLimit);
    if (!contents.ok())
        return contents.error().reason;
    return read_session(contents.value());
}

}  // namespace tavrix
