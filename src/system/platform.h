// The system the program runs on, put together once for the script, both windows and the
// tests: storyboard files on the real file system, in the system's code page (Windows-1252,
// or the active ANSI code page on Windows), so that every front end writes the same bytes.
#pragma once

#include "storyboard/output.h"

namespace tavrix {

Platform system_platform();

}  // namespace tavrix
