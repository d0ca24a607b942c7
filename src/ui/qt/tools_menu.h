// The "Herramientas" menu of the editor: "Comprobar" (Ctrl+K), which lists in one dialog why
// an engine would not play the storyboard, "Vista previa" (F5), and the check item "Archivo
// listo para el motor".
#pragma once

#include <string>
#include <vector>

class QMenuBar;
class QWidget;

namespace tavrix::qt {

class EditorWindow;

// Appended after the menus already in the bar, so that "Archivo" stays first.
void add_tools_menu(QMenuBar& bar, EditorWindow& editor);

// The findings, or that there are none, in a read-only text that can be copied.
void show_findings(QWidget* parent, const std::vector<std::string>& findings);

}  // namespace tavrix::qt
