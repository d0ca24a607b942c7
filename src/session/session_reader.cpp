// Reads a session file and checks all of it before anything is handed out: a window never
// takes in half a session. The parser's events are checked as they come, so that a full
// store is read without building a document first.
#include <bitset>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "common/numbers.h"
#include "model/field_text.h"
#include "model/names.h"
#include "session/session.h"

namespace tavrix {
namespace {

using Json = nlohmann::json;

constexpr Property kProperties[] = {Property::Text, Property::Caption, Property::Value,
                                    Property::Enabled, Property::Visible};

// The members of a session file, in the order it writes them; only the options may be
// missing.
constexpr std::string_view kTopMembers[] = {"format", "version", "window", "controls",
                                            "store",  "ticks",   "options"};
enum TopMember : std::uint8_t { kFormat, kVersion, kWindow, kControls, kStore, kTicks, kOptions };

std::string json_quoted(std::string_view text) {
    std::string out;
    append_json_string(text, out);
    return out;
}

template <typename Narrow>
bool fits(std::int64_t number) {
    return number >= std::numeric_limits<Narrow>::min() &&
           number <= std::numeric_limits<Narrow>::max();
}

bool is_position_caption(const std::string& caption) {
    return caption.size() == 1 && caption[0] >= '0' && caption[0] <= '9';
}

std::optional<std::size_t> index_in(std::string_view name, const auto& names) {
    for (std::size_t i = 0; i < std::size(names); ++i) {
        if (names[i] == name)
            return i;
    }
    return std::nullopt;
}

const TableDef* table_named(std::string_view name) {
    for (std::size_t i = 0; i < kTableCount; ++i) {
        if (table_def(static_cast<TableId>(i)).name == name)
            return &table_def(static_cast<TableId>(i));
    }
    return nullptr;
}

// A value that is neither an object nor a list, as the parser meets it.
struct Scalar {
    enum class Type : std::uint8_t { Null, Boolean, Whole, Fraction, Text };
    Type type = Type::Null;
    bool boolean = false;
    std::int64_t whole = 0;  // clamped to 64 bits
    std::string text = {};   // a text's characters, or a fraction as it was written

    std::string spelling() const {
        switch (type) {
            case Type::Null:
                return "null";
            case Type::Boolean:
                return boolean ? "true" : "false";
            case Type::Whole:
                return std::to_string(whole);
            case Type::Fraction:
                return text;
            case Type::Text:
                return json_quoted(text);
        }
        return {};
    }
};

enum class Level : std::uint8_t { Top, Window, Controls, Control, Store, Table, Row, Options };

// An object or a list being read: which one, the member whose value comes next, and what
// has been met in it.
struct Frame {
    Level level;
    const ControlDef* control = nullptr;
    const TableDef* table = nullptr;
    int scene = 0;  // a row of a per-animation table: its scene
    std::string key = {};
    std::uint32_t seen = 0;  // the members met, one bit each
    int count = 0;           // a list: the elements met
};

std::string element_place(const TableDef& table, int scene, std::optional<int> animation) {
    std::string place = "la tabla " + std::string(table.name) + ", escena " + std::to_string(scene);
    if (animation)
        place += ", animación " + std::to_string(*animation);
    return place;
}

class Reader final : public nlohmann::json_sax<Json> {
  public:
    Expected<Session, std::string> read(std::string_view bytes) {
        if (bytes.size() > kSessionFileLimit)
            return std::string("el archivo ocupa más de 16 MiB");
        if (!Json::sax_parse(bytes.begin(), bytes.end(), this) || !finished_) {
            if (reason_.empty())
                reason_ = "no es una sesión de Tavrix: no es un documento JSON válido";
            return std::move(reason_);
        }
        return std::move(session_);
    }

    bool null() override { return value(Scalar{}); }
    bool boolean(bool value) override {
        return this->value(Scalar{.type = Scalar::Type::Boolean, .boolean = value});
    }
    bool number_integer(number_integer_t value) override {
        return this->value(Scalar{.type = Scalar::Type::Whole, .whole = value});
    }
    bool number_unsigned(number_unsigned_t value) override {
        constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
        const auto whole = static_cast<std::int64_t>(value > kMax ? kMax : value);
        return this->value(Scalar{.type = Scalar::Type::Whole, .whole = whole});
    }
    bool number_float(number_float_t, const string_t& written) override {
        return value(Scalar{.type = Scalar::Type::Fraction, .text = written});
    }
    bool string(string_t& text) override {
        return value(Scalar{.type = Scalar::Type::Text, .text = std::move(text)});
    }
    bool binary(binary_t&) override { return damaged("no es un documento JSON válido"); }

    bool start_object(std::size_t) override;
    bool key(string_t& name) override;
    bool end_object() override;
    bool start_array(std::size_t) override;
    bool end_array() override;
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

  private:
    // A text longer than a field holds, where it would stand in the text box `field`.
    bool too_long(ControlId field) {
        reason_ = "el campo «" + control_name(field) + "» (" +
                  std::string(control_def(field).name) + ") tiene más de " +
                  grouped_number(kFieldTextLimit) + " caracteres";
        return false;
    }
    bool damaged(std::string what) {
        reason_ = "no es una sesión de Tavrix: " + std::move(what);
        return false;
    }

    Frame& top() { return stack_.back(); }
    bool value(Scalar scalar);
    bool top_member(const Scalar& scalar);
    bool control_member(Frame& frame, const Scalar& scalar);
    bool element(const TableDef& table, Position at, std::optional<int> animation, Scalar scalar);
    bool wrong_shape(const Frame& frame);
    bool finish_top(const Frame& frame);
    bool finish_controls();
    bool finish_control(const Frame& frame);
    bool finish_list(const Frame& frame);

    std::vector<Frame> stack_;
    std::bitset<kControlCount> controls_seen_;
    std::bitset<kTableCount> tables_seen_;
    bool finished_ = false;
    Session session_;
    std::string reason_;
};

bool Reader::start_object(std::size_t) {
    if (stack_.empty()) {
        stack_.push_back({Level::Top});
        return true;
    }
    Frame& frame = top();
    if (frame.level == Level::Top && frame.key == "window") {
        stack_.push_back({Level::Window});
    } else if (frame.level == Level::Top && frame.key == "controls") {
        stack_.push_back({Level::Controls});
    } else if (frame.level == Level::Top && frame.key == "store") {
        stack_.push_back({Level::Store});
    } else if (frame.level == Level::Top && frame.key == "options") {
        stack_.push_back({Level::Options});
    } else if (frame.level == Level::Controls) {
        stack_.push_back(
            {.level = Level::Control, .control = &control_def(*find_control(frame.key))});
    } else {
        return wrong_shape(frame);
    }
    return true;
}

bool Reader::key(string_t& name) {
    Frame& frame = top();
    std::optional<std::size_t> bit;
    switch (frame.level) {
        case Level::Top:
            bit = index_in(name, kTopMembers);
            if (!bit)
                return damaged("sobra el miembro " + json_quoted(name));
            break;
        case Level::Window:
            if (name != "caption")
                return damaged("\"window\" debe ser {\"caption\": texto}");
            bit = 0;
            break;
        case Level::Controls: {
            const std::optional<ControlId> id = find_control(name);
            if (!id)
                return damaged("no existe el control " + json_quoted(name));
            if (controls_seen_.test(index_of(*id)))
                return damaged("el control " + name + " aparece dos veces");
            controls_seen_.set(index_of(*id));
            frame.key = std::move(name);
            return true;
        }
        case Level::Control: {
            const std::optional<Property> property = find_property(name);
            if (name == "kind") {
                bit = 0;
            } else if (property && has_property(frame.control->kind, *property)) {
                bit = 1 + static_cast<std::size_t>(*property);
            } else {
                return damaged("sobra " + json_quoted(name) + " en el control " +
                               std::string(frame.control->name));
            }
            break;
        }
        case Level::Store: {
            const TableDef* table = table_named(name);
            if (!table)
                return damaged("no existe la tabla " + json_quoted(name));
            if (tables_seen_.test(static_cast<std::size_t>(table->id)))
                return damaged("la tabla " + name + " aparece dos veces");
            tables_seen_.set(static_cast<std::size_t>(table->id));
            frame.key = std::move(name);
            return true;
        }
        case Level::Options:
            if (name != kEngineReadyOption)
                return damaged("no existe la opción " + json_quoted(name));
            bit = 0;
            break;
        case Level::Table:
        case Level::Row:
            return false;  // lists have no keys; the parser never gets here
    }
    if (frame.seen & (1u << *bit))
        return damaged("el miembro " + json_quoted(name) + " aparece dos veces");
    frame.seen |= 1u << *bit;
    frame.key = std::move(name);
    return true;
}

bool Reader::start_array(std::size_t) {
    if (stack_.empty())
        return damaged("no es un objeto JSON");
    Frame& frame = top();
    if (frame.level == Level::Store) {
        stack_.push_back({.level = Level::Table, .table = table_named(frame.key)});
        return true;
    }
    if (frame.level == Level::Table && frame.table->kind == TableKind::PerAnimation &&
        frame.count < kScenes) {
        stack_.push_back({.level = Level::Row, .table = frame.table, .scene = frame.count++});
        return true;
    }
    return wrong_shape(frame);
}

bool Reader::end_array() {
    const Frame frame = std::move(top());
    stack_.pop_back();
    return finish_list(frame);
}

bool Reader::end_object() {
    const Frame frame = std::move(top());
    stack_.pop_back();
    switch (frame.level) {
        case Level::Top:
            return finish_top(frame);
        case Level::Window:
            return frame.seen == 1 || damaged("\"window\" debe ser {\"caption\": texto}");
        case Level::Controls:
            return finish_controls();
        case Level::Control:
            return finish_control(frame);
        case Level::Store:
            for (std::size_t i = 0; i < kTableCount; ++i) {
                if (!tables_seen_.test(i))
                    return damaged("falta la tabla " +
                                   std::string(table_def(static_cast<TableId>(i)).name));
            }
            return true;
        case Level::Options:
        case Level::Table:
        case Level::Row:
            return true;
    }
    return true;
}

bool Reader::value(Scalar scalar) {
    if (stack_.empty())
        return damaged("no es un objeto JSON");
    Frame& frame = top();
    switch (frame.level) {
        case Level::Top:
            return top_member(scalar);
        case Level::Window:
            return scalar.type == Scalar::Type::Text ||
                   damaged("\"window\" debe ser {\"caption\": texto}");
        case Level::Control:
            return control_member(frame, scalar);
        case Level::Table:
            if (frame.table->kind == TableKind::PerAnimation || frame.count >= kScenes)
                return wrong_shape(frame);
            return element(*frame.table, {frame.count++, 0}, std::nullopt, std::move(scalar));
        case Level::Row: {
            if (frame.count >= kAnimations)
                return wrong_shape(frame);
            const int animation = frame.count++;
            return element(*frame.table, {frame.scene, animation}, animation, std::move(scalar));
        }
        case Level::Options:
            if (scalar.type != Scalar::Type::Boolean)
                return damaged("la opción " + json_quoted(kEngineReadyOption) +
                               " no es true ni false");
            session_.options.engine_ready = scalar.boolean;
            return true;
        case Level::Controls:
        case Level::Store:
            return wrong_shape(frame);
    }
    return true;
}

bool Reader::top_member(const Scalar& scalar) {
    const std::string& key = top().key;
    const bool whole = scalar.type == Scalar::Type::Whole;
    if (key == "format") {
        if (scalar.type != Scalar::Type::Text || scalar.text != kSessionFormat)
            return damaged("el formato es " + scalar.spelling() + " y no " +
                           json_quoted(kSessionFormat));
        return true;
    }
    if (key == "version") {
        if (!whole || scalar.whole < 1)
            return damaged("la versión " + scalar.spelling() + " no existe");
        if (scalar.whole > kSessionVersion) {
            reason_ = "la sesión es de una versión posterior de Tavrix (versión " +
                      scalar.spelling() + "); esta lee hasta la versión " +
                      std::to_string(kSessionVersion);
            return false;
        }
        return true;
    }
    if (key == "ticks") {
        if (!whole)
            return damaged("el total de tics no es un número entero");
        if (!fits<std::int32_t>(scalar.whole))
            return damaged("el total de tics " + scalar.spelling() + " no cabe en 32 bits");
        session_.ticks = static_cast<std::int32_t>(scalar.whole);
        return true;
    }
    return wrong_shape(top());
}

bool Reader::control_member(Frame& frame, const Scalar& scalar) {
    const std::string name(frame.control->name);
    ControlState& control = session_.controls[index_of(frame.control->id)];
    if (frame.key == "kind") {
        if (scalar.type != Scalar::Type::Text || scalar.text != kind_name(frame.control->kind)) {
            return damaged("el control " + name + " es de tipo " + scalar.spelling() + " y no " +
                           json_quoted(kind_name(frame.control->kind)));
        }
        return true;
    }
    const Property property = *find_property(frame.key);
    const std::string where = json_quoted(frame.key) + " del control " + name;
    switch (property) {
        case Property::Text:
        case Property::Caption:
            if (scalar.type != Scalar::Type::Text)
                return damaged(where + " no es un texto");
            if (frame.control->kind == Kind::TextBox && !fits_field(scalar.text))
                return too_long(frame.control->id);
            control.text = scalar.text;
            return true;
        case Property::Value:
            if (scalar.type != Scalar::Type::Whole || (scalar.whole != 0 && scalar.whole != 1))
                return damaged(where + " no es 0 ni 1");
            control.value = static_cast<int>(scalar.whole);
            return true;
        case Property::Enabled:
        case Property::Visible:
            if (scalar.type != Scalar::Type::Boolean)
                return damaged(where + " no es true ni false");
            (property == Property::Enabled ? control.enabled : control.visible) = scalar.boolean;
            return true;
    }
    return true;
}

// Null, a text, or a 16-bit whole number; a check box's table holds only 0 or 1, since a
// reload puts the number into the box.
bool Reader::element(const TableDef& table, Position at, std::optional<int> animation,
                     Scalar scalar) {
    const auto wrong = [&](std::string_view what) {
        return damaged(element_place(table, at.scene, animation) + ": " + std::string(what));
    };
    switch (scalar.type) {
        case Scalar::Type::Null:
            return true;
        case Scalar::Type::Text:
            if (control_def(table.control).kind == Kind::TextBox && !fits_field(scalar.text))
                return too_long(table.control);  // a reload would put it into the box
            session_.store.store_text(table.id, at, std::move(scalar.text));
            return true;
        case Scalar::Type::Whole:
            break;
        case Scalar::Type::Boolean:
        case Scalar::Type::Fraction:
            return wrong("un elemento es null, un texto o un número entero");
    }
    if (control_def(table.control).kind == Kind::CheckBox && scalar.whole != 0 && scalar.whole != 1)
        return wrong("una casilla guarda 0 o 1, y no " + scalar.spelling());
    if (!fits<std::int16_t>(scalar.whole))
        return wrong("el número " + scalar.spelling() + " no cabe en 16 bits");
    session_.store.store_number(table.id, at, static_cast<std::int16_t>(scalar.whole));
    return true;
}

// A value of the wrong kind where the frame expects something else.
bool Reader::wrong_shape(const Frame& frame) {
    switch (frame.level) {
        case Level::Top:
            if (frame.key == "version")
                return damaged("la versión no es un número entero");
            if (frame.key == "ticks")
                return damaged("el total de tics no es un número entero");
            if (frame.key == "format")
                return damaged("el formato no es un texto");
            return damaged(json_quoted(frame.key) + " no es un objeto");
        case Level::Controls:
            return damaged("el control " + frame.key + " no es un objeto");
        case Level::Store:
            return damaged("la tabla " + frame.key + " no es una lista");
        case Level::Table:
            if (frame.count >= kScenes)
                return damaged("la tabla " + std::string(frame.table->name) +
                               " tiene más de 10 elementos");
            return damaged(element_place(*frame.table, frame.count, std::nullopt) +
                           (frame.table->kind == TableKind::PerAnimation
                                ? " no es una lista"
                                : ": un elemento es null, un texto o un número entero"));
        case Level::Row:
            if (frame.count >= kAnimations)
                return damaged(element_place(*frame.table, frame.scene, std::nullopt) +
                               " tiene más de 10 elementos");
            return damaged(element_place(*frame.table, frame.scene, frame.count) +
                           ": un elemento es null, un texto o un número entero");
        case Level::Window:
            return damaged("\"window\" debe ser {\"caption\": texto}");
        case Level::Control:
            return damaged(json_quoted(frame.key) + " del control " +
                           std::string(frame.control->name) + " no es un valor simple");
        case Level::Options:
            return damaged("la opción " + json_quoted(kEngineReadyOption) + " no es true ni false");
    }
    return false;
}

bool Reader::finish_list(const Frame& frame) {
    const int wanted = frame.level == Level::Row ? kAnimations : kScenes;
    if (frame.count == wanted)
        return true;
    const std::string place = frame.level == Level::Row
                                  ? element_place(*frame.table, frame.scene, std::nullopt)
                                  : "la tabla " + std::string(frame.table->name);
    return damaged(place + " tiene " + std::to_string(frame.count) + " elementos y debe tener " +
                   std::to_string(wanted));
}

bool Reader::finish_control(const Frame& frame) {
    const std::string name(frame.control->name);
    if (!(frame.seen & 1u))
        return damaged("falta \"kind\" en el control " + name);
    for (Property property : kProperties) {
        const auto bit = 1u << (1 + static_cast<unsigned>(property));
        if (has_property(frame.control->kind, property) && !(frame.seen & bit))
            return damaged("falta " + json_quoted(property_name(property)) + " en el control " +
                           name);
    }
    return true;
}

bool Reader::finish_controls() {
    for (const ControlDef& def : control_table()) {
        if (!controls_seen_.test(index_of(def.id)))
            return damaged("falta el control " + std::string(def.name));
    }
    for (ControlId position : {ControlId::Escena, ControlId::nroAnim}) {
        if (!is_position_caption(session_.controls[index_of(position)].text)) {
            return damaged("el rótulo " + std::string(control_def(position).name) +
                           " no muestra una cifra de 0 a 9");
        }
    }
    return true;
}

bool Reader::finish_top(const Frame& frame) {
    for (std::size_t i = 0; i + 1 < std::size(kTopMembers); ++i) {
        if (!(frame.seen & (1u << i)))
            return damaged("falta el miembro " + json_quoted(kTopMembers[i]));
    }
    finished_ = true;
    return true;
}

}  // namespace

Expected<Session, std::string> read_session(std::string_view bytes) {
    return Reader().read(bytes);
}

}  // namespace tavrix
