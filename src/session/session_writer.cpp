#include <cstdio>

#include "session/session.h"

namespace tavrix {
namespace {

void append_bool(bool value, std::string& out) {
    out.append(value ? "true" : "false");
}

constexpr Property kProperties[] = {Property::Text, Property::Caption, Property::Value,
                                    Property::Enabled, Property::Visible};

// The kind, then every property the kind has, in the order of Property.
void append_control(const ControlDef& def, const ControlState& control, std::string& out) {
    append_json_string(def.name, out);
    out.append(": {\"kind\": ");
    append_json_string(kind_name(def.kind), out);
    for (Property property : kProperties) {
        if (!has_property(def.kind, property))
            continue;
        out.append(", ");
        append_json_string(property_name(property), out);
        out.append(": ");
        switch (property) {
            case Property::Text:
            case Property::Caption:
                append_json_string(control.text, out);
                break;
            case Property::Value:
                out.append(std::to_string(control.value));
                break;
            case Property::Enabled:
                append_bool(control.enabled, out);
                break;
            case Property::Visible:
                append_bool(control.visible, out);
                break;
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

bool needs_escape(char c) {
    return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
}

void append_escaped(char c, std::string& out) {
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
        default: {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out.append(escaped);
        }
    }
}

}  // namespace

// Runs of plain characters go in whole: a full store is some 40 KB of text.
void append_json_string(std::string_view text, std::string& out) {
    out.push_back('"');
    std::size_t plain_from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!needs_escape(text[i]))
            continue;
        out.append(text.substr(plain_from, i - plain_from));
        append_escaped(text[i], out);
        plain_from = i + 1;
    }
    out.append(text.substr(plain_from));
    out.push_back('"');
}

void append_session_members(const Session& session, std::string& out) {
    out.append("\"window\": {\"caption\": ");
    append_json_string(window_def().caption, out);
    out.append("}, \"controls\": {");
    for (const ControlDef& def : control_table()) {
        if (def.id != control_table().front().id)
            out.append(", ");
        append_control(def, session.controls[index_of(def.id)], out);
    }
    out.append("}, \"store\": {");
    for (std::size_t i = 0; i < kTableCount; ++i) {  // in the order they are declared
        if (i > 0)
            out.append(", ");
        append_table(session.store, table_def(static_cast<TableId>(i)), out);
    }
    out.append("}, \"options\": {");
    append_json_string(kEngineReadyOption, out);
    out.append(session.options.engine_ready ? ": true" : ": false");
    out.append("}, \"ticks\": ").append(std::to_string(session.ticks));
}

std::string session_file_bytes(const Session& session) {
    std::string out;
    out.reserve(64 * 1024);
    out.append("{\"format\": ");
    append_json_string(kSessionFormat, out);
    out.append(", \"version\": ").append(std::to_string(kSessionVersion)).append(", ");
    append_session_members(session, out);
    out.append("}\n");
    return out;
}

}  // namespace tavrix
