#include "system/file_output.h"
#include "ui/qt/command_line.h"
#include "ui/qt/start.h"

// tavrix [OPTION]... [SESSION]: the editor, with that session open.
int main(int argc, char** argv) {
    tavrix::prepare_process_for_files();
    if (const auto status = tavrix::qt::answer_early(argc, argv))
        return *status;
    return tavrix::qt::run_editor(argc, argv);
}
