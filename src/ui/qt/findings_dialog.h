// The findings of "Comprobar" in one dialog: why an engine would not play the storyboard; and
// in the same dialog, what "Importar storyboard..." could not take.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace tavrix::qt {

// The findings, or that there are none, in a read-only text that can be copied.
void show_findings(QWidget* parent, const std::vector<std::string>& findings);
// One line each.
void show_not_taken(QWidget* parent, const std::vector<std::string>& lines);

}  // namespace tavrix::qt
