#include "system/file_output.h"
#include "ui/qt/command_line.h"
#include "ui/qt/start.h"

// tavrix [OPTION]... [SESSION]: the editor, with that session open.
int main(int argc, char** argv) {
    tavrix::prepare_process_for_files();
    tavrix::qt::answer_help_and_version(argc, argv);
    return tavrix::qt::run_editor(argc, argv);
}
