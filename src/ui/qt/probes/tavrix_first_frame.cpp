// The editor exactly as `tavrix` starts it, quitting after its first frame.
#include "system/file_output.h"
#include "ui/qt/command_line.h"
#include "ui/qt/probes/first_frame.h"
#include "ui/qt/start.h"

int main(int argc, char** argv) {
    tavrix::prepare_process_for_files();
    if (const auto status = tavrix::qt::answer_early(argc, argv))
        return *status;
    return tavrix::qt::run_editor(argc, argv, tavrix::qt::quit_after_first_frame);
}
