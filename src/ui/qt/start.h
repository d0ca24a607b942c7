// The editor's start-up, shared by the program and its start-up probe, so that what the
// benchmark measures is what people start.
#pragma once

#include <functional>

class QWidget;

namespace tavrix::qt {

// Everything `tavrix` does once --help and --version are answered: the application, the
// window with the command line's session, and the event loop. `before_show` sees the window
// just before it is first shown. Returns the exit status.
[[nodiscard]] int run_editor(int argc, char** argv,
                             const std::function<void(QWidget&)>& before_show = {});

}  // namespace tavrix::qt
