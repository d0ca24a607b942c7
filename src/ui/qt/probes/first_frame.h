// Ends the process once a window has painted its first frame, so that a benchmark can time
// a cold start up to what a person first sees.
#pragma once

class QWidget;

namespace tavrix::qt {

void quit_after_first_frame(QWidget& window);

}  // namespace tavrix::qt
