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

namespace tavrix::testing {

std::string element_repr(const Element& element) {
    if (const auto* text = std::get_if<std::string>(&element))
        return "'" + *text + "'";
    if (const auto* number = std::get_if<std::int16_t>(&element)) {
        return "#" + std::to_string(*number);
    }
    return "null";
}

std::string stored(const Form1& form, TableId table, Position at) {
    return element_repr(form.store().at(table, at));
}

std::vector<std::string> store_snapshot(const Form1& form) {
    std::vector<std::string> all;
    for (const TableDef& table : tables_in_reload_order()) {
        for (int scene = 0; scene < kScenes; ++scene) {
            for (int animation = 0; animation < kAnimations; ++animation) {
                if (table.kind == TableKind::PerScene && animation > 0)
                    break;
                all.push_back(std::string(table.name) +
                              element_repr(form.store().at(table.id, {scene, animation})));
            }
        }
    }
    return all;
}

}  // namespace tavrix::testing
