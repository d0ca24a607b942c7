#include "script/dump.h"

#include <cstdio>

#include "script/properties.h"

namespace tavrix::script {
namespace {

constexpr Property kProperties[] = {Property::Text, Property::Caption, Property::Value,
                                    Property::Enabled, Property::Visible};

// Every property the control's kind has; texts and captions as JSON strings, and the
// value and the flags as the numbers and literals a script reads.
void append_control(const Window& window, const ControlDef& def, std::string& out) {
    append_json_string(def.name, out);
    out.append(": {\"kind\": ");
    append_json_string(kind_name(def.kind), out);
    for (Property property : kProperties) {
        const std::optional<std::string> value = read_property(window, def, property);
        if (!value)
            continue;
        out.append(", ");
        append_json_string(property_name(property), out);
        out.append(": ");
        if (property == Property::Text || property == Property::Caption) {
            append_json_string(*value, out);
        } else {
            out.append(*value);
        }
    }
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
    for (std::size_t i = 0; i < kTableCount; ++i) {  // in the order they are declared
        if (i > 0)
            out.append(", ");
        append_table(form.store(), table_def(static_cast<TableId>(i)), out);
    }
    out.append("}, \"options\": {");
    append_json_string(kEngineReadyOption, out);
    out.append(form.engine_ready() ? ": true" : ": false");
    out.append("}, \"ticks\": ").append(std::to_string(form.tick_total())).append("}");
    return out;
}

}  // namespace tavrix::script
