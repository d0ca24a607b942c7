#include "support/memory_output.h"

#include <gtest/gtest.h>

namespace tavrix::testing {

void MemoryForm::type(ControlId id, std::string_view text) {
    const ActionStatus status = form.type_text(id, text);
    ASSERT_EQ(status, ActionStatus::Done) << control_def(id).name << ": " << describe(status);
}

void MemoryForm::click(ControlId id) {
    const ActionStatus status = form.click(id);
    ASSERT_EQ(status, ActionStatus::Done) << control_def(id).name << ": " << describe(status);
}

std::vector<std::string> MemoryForm::generate() {
    click(ControlId::Command1);
    if (const auto failure = run_failure(form)) {
        ADD_FAILURE() << failure->message;
        return {};
    }
    return split_crlf_lines(file->committed);
}

// Every line must end in CR LF; a bare LF or a missing end shows up as a broken line.
std::vector<std::string> split_crlf_lines(std::string_view bytes) {
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const auto end = bytes.find("\r\n");
        if (end == std::string_view::npos) {
            lines.push_back(std::string(bytes) + "<no CR LF>");
            break;
        }
        lines.emplace_back(bytes.substr(0, end));
        bytes.remove_prefix(end + 2);
    }
    return lines;
}

}  // namespace tavrix::testing
