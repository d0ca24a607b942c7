// What a window or a script needs of the system it runs on: where files go, in which code
// page, and how files are found and read back. The real system is put together once for the
// script, both windows and the tests: files on the real file system, in the system's code
// page (Windows-1252, or the active ANSI code page on Windows), so that every front end
// writes the same bytes; tests put together one of their own.
#pragma once

#include "system/file_input.h"
#include "system/output.h"

namespace tavrix {

struct Platform {
    OutputFactory open_output;
    Encoder encode;
    FileExists file_exists = nullptr;  // empty: the check does not ask
    FileReader read_file = nullptr;    // empty: no file can be read
};

Platform system_platform();

}  // namespace tavrix
