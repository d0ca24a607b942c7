// The findings of "Comprobar" in one dialog: why an engine would not play the storyboard.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace tavrix::qt {

// The findings, or that there are none, in a read-only text that can be copied.
void show_findings(QWidget* parent, const std::vector<std::string>& findings);

}  // namespace tavrix::qt
