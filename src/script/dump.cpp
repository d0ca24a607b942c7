#include "script/dump.h"

#include <cstdio>

namespace tavrix::script {
namespace {

void append_bool(bool value, std::string& out) {
    out.append(value ? "true" : "false");
}

void append_control(const Window& window, const ControlDef& def, std::string& out) {
    append_json_string(def.name, out);
    out.append(": {\"kind\": ");
    append_json_string(kind_name(def.kind), out);
    if (def.kind == Kind::TextBox) {
        out.append(", \"text\": ");
        append_json_string(window.text(def.id), out);
    } else {
        out.append(", \"caption\": ");
        append_json_string(window.caption(def.id), out);
    }
    if (def.kind == Kind::CheckBox) {
        out.append(", \"value\": ").append(std::to_string(window.value(def.id)));
    }
    out.append(", \"enabled\": ");
    append_bool(window.enabled(def.id), out);
    out.append(", \"visible\": ");
    append_bool(window.visible(def.id), out);
    out.push_back('}');
}

void append_element(const Element& element, std::string& out) {
    if (const auto* text = std::get_if<std::string>(&element)) {
        append_json_string(*text, out);
    } else if (const auto* number = std::get_if<std::int16_t>(&element)) {
        out.append(std::to_string(*number));
    } else {
        out.append("null");
    }
}

void append_table(const SceneStore& store, const TableDef& table, std::string& out) {
    append_json_string(table.name, out);
    out.append(": [");
    for (int scene = 0; scene < kScenes; ++scene) {
        if (scene > 0)
            out.append(", ");
        if (table.kind == TableKind::PerScene) {
            append_element(store.at(table.id, {scene, 0}), out);
            continue;
        }
        out.push_back('[');
        for (int animation = 0; animation < kAnimations; ++animation) {
            if (animation > 0)
                out.append(", ");
            append_element(store.at(table.id, {scene, animation}), out);
        }
        out.push_back(']');
    }
    out.push_back(']');
}

}  // namespace

void append_json_string(std::string_view text, std::string& out) {
    out.push_back('"');
    for (char c : text) {
        switch (c) {
            case '"':
                out.append("\\\"");
                break;
            case '\\':
                out.append("\\\\");
                break;
            case '\n':
                out.append("\\n");
                break;
            case '\r':
                out.append("\\r");
                break;
            case '\t':
                out.append("\\t");
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                    out.append(escaped);
                } else {
                    out.push_back(c);
                }
        }
    }
    out.push_back('"');
}

std::string dump_json(const Form1& form) {
    std::string out = "{\"window\": {\"caption\": ";
    append_json_string(window_def().caption, out);
    out.append("}, \"controls\": {");
    bool first = true;
    for (const ControlDef& def : control_table()) {
        if (!first)
            out.append(", ");
        first = false;
        append_control(form.window(), def, out);
    }
    out.append("}, \"store\": {");
    first = true;
    for (const TableDef& table : table_defs()) {
        if (!first)
            out.append(", ");
        first = false;
        append_table(form.store(), table, out);
    }
    out.append("}, \"ticks\": ").append(std::to_string(form.tick_total())).append("}");
    return out;
}

}  // namespace tavrix::script
