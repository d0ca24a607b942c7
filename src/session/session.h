// A session: everything a person builds in one window, as one plain value. It is what the
// dump shows and what a session file holds, so that a saved session comes back whole in
// any later window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/expected.h"
#include "model/window.h"
#include "store/scene_store.h"

namespace tavrix {

// The name of "Archivo listo para el motor" in scripts, the dump and session files.
inline constexpr std::string_view kEngineReadyOption = "engine_ready";

// The session's settings that are not controls of the window.
struct SessionOptions {
    bool engine_ready = false;
    bool operator==(const SessionOptions&) const = default;
};

struct Session {
    ControlStates controls;
    SceneStore store;
    std::int32_t ticks = 0;
    SessionOptions options;
    bool operator==(const Session&) const = default;
};

inline constexpr std::string_view kSessionFormat = "tavrix-session";
inline constexpr std::int64_t kSessionVersion = 1;
// A session of 1290 long texts is about 100 KiB: anything this large is no session.
inline constexpr std::size_t kSessionFileLimit = std::size_t{16} << 20;

// The members of the dump, without the braces around them: the window's caption, every
// control, every table of the store, the options and the tick total.
void append_session_members(const Session& session, std::string& out);
void append_json_string(std::string_view text, std::string& out);

// The bytes of a session file: the format and version, then the members of the dump.
std::string session_file_bytes(const Session& session);

// A session file read and checked in full: the session, or why the bytes are not one (in
// Spanish, without the file's name).
Expected<Session, std::string> read_session(std::string_view bytes);

}  // namespace tavrix
