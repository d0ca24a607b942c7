// Session files: what is written is read back whole, and a file that is not a session, or is
// damaged anywhere, is refused with a reason.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>

#include "app/session_flow.h"
#include "session/session.h"
#include "session/session_file.h"
#include "support/memory_output.h"
#include "system/file_input.h"

namespace tavrix {
namespace {

using C = ControlId;
using Json = nlohmann::json;

// A session with every kind of element and text: escapes, accents, a check box's value,
// two scenes and animations, and a tick total.
Session busy_session() {
    testing::MemoryForm f;
    f.type(C::cantA, "dos \"comillas\"\t\\ ñ €\x01");
    f.click(C::Check6);
    f.type(C::ttika, "30");
    f.type(C::ndees, "3");
    f.type(C::Text5, "3");
    f.click(C::botsig);
    f.click(C::Check2);
    f.type(C::Text2, "-7");
    f.click(C::Command2);
    f.type(C::Text8, "15");
    f.generate();
    return f.form.snapshot();
}

const std::string& busy_bytes() {
    static const std::string bytes = session_file_bytes(busy_session());
    return bytes;
}

std::string refusal_of(std::string_view bytes) {
    const auto read = read_session(bytes);
    return read.ok() ? "(leída)" : read.error();
}

// The same, with the bytes in a file on disk opened as a window opens one.
std::string refusal_of_file(std::string_view bytes) {
    const std::string path = ::testing::TempDir() + "refusal.tavrix";
    std::ofstream(path, std::ios::binary) << bytes;
    const auto read = open_session_file(read_system_file, path);
    std::remove(path.c_str());
    return read.ok() ? "(leída)" : read.error();
}

TEST(SessionFile, ReadsBackWhatItWrote) {
    const auto read = read_session(busy_bytes());
    ASSERT_TRUE(read.ok()) << read.error();
    EXPECT_EQ(read.value(), busy_session());
    EXPECT_EQ(
        busy_bytes().rfind("{\"format\": \"tavrix-session\", \"version\": 1, \"window\": ", 0), 0u);
}

struct Damage {
    const char* name;
    std::function<void(Json&)> change;
    const char* reason;  // a part of it; empty: the file is still a session
};

TEST(SessionFile, RefusesWhatIsNotAWholeSession) {
    const Damage damages[] = {
        {"an array", [](Json& j) { j = Json::array(); }, "no es un objeto JSON"},
        {"no format", [](Json& j) { j.erase("format"); }, "falta el miembro \"format\""},
        {"another format", [](Json& j) { j["format"] = "otro"; }, "el formato es \"otro\""},
        {"a later version", [](Json& j) { j["version"] = 2; },
         "versión posterior de Tavrix (versión 2)"},
        {"version zero", [](Json& j) { j["version"] = 0; }, "la versión 0 no existe"},
        {"version as text", [](Json& j) { j["version"] = "1"; }, "la versión \"1\" no existe"},
        {"no ticks", [](Json& j) { j.erase("ticks"); }, "falta el miembro \"ticks\""},
        {"controls as list", [](Json& j) { j["controls"] = Json::array(); },
         "\"controls\" no es un objeto"},
        {"an unknown member", [](Json& j) { j["extra"] = 1; }, "sobra el miembro \"extra\""},
        {"no window", [](Json& j) { j.erase("window"); }, "falta el miembro \"window\""},
        {"a missing control", [](Json& j) { j["controls"].erase("Text1"); },
         "falta el control Text1"},
        {"an unknown control", [](Json& j) { j["controls"]["Text99"] = j["controls"]["Text1"]; },
         "no existe el control \"Text99\""},
        {"a control of another kind", [](Json& j) { j["controls"]["Text1"]["kind"] = "label"; },
         "el control Text1 es de tipo \"label\" y no \"textbox\""},
        {"a text box with a caption",
         [](Json& j) {
             j["controls"]["Text1"]["caption"] = j["controls"]["Text1"]["text"];
             j["controls"]["Text1"].erase("text");
         },
         "sobra \"caption\" en el control Text1"},
        {"a member too many", [](Json& j) { j["controls"]["Label1"]["value"] = 0; },
         "sobra \"value\" en el control Label1"},
        {"a number as text", [](Json& j) { j["controls"]["Text1"]["text"] = 5; },
         "\"text\" del control Text1 no es un texto"},
        {"a flag as number", [](Json& j) { j["controls"]["Text1"]["enabled"] = 1; },
         "\"enabled\" del control Text1 no es true ni false"},
        {"a check value of 2", [](Json& j) { j["controls"]["Check1"]["value"] = 2; },
         "\"value\" del control Check1 no es 0 ni 1"},
        {"a scene past 9", [](Json& j) { j["controls"]["Escena"]["caption"] = "10"; },
         "el rótulo Escena no muestra una cifra de 0 a 9"},
        {"a missing table", [](Json& j) { j["store"].erase("esc_ttika"); },
         "falta la tabla esc_ttika"},
        {"an unknown table", [](Json& j) { j["store"]["esc_nada"] = j["store"]["esc_ttika"]; },
         "no existe la tabla \"esc_nada\""},
        {"a short table", [](Json& j) { j["store"]["esc_rojo"].erase(9); },
         "la tabla esc_rojo tiene 9 elementos y debe tener 10"},
        {"a long animation row", [](Json& j) { j["store"]["anim_Text1"][4].push_back(nullptr); },
         "la tabla anim_Text1, escena 4 tiene más de 10 elementos"},
        {"a control without its text", [](Json& j) { j["controls"]["Text1"].erase("text"); },
         "falta \"text\" en el control Text1"},
        {"a flat animation table", [](Json& j) { j["store"]["anim_Text1"][0] = nullptr; },
         "la tabla anim_Text1, escena 0 no es una lista"},
        {"a table as object", [](Json& j) { j["store"]["esc_rojo"] = Json::object(); },
         "la tabla esc_rojo no es una lista"},
        {"a number past 16 bits", [](Json& j) { j["store"]["anim_Text5"][2][3] = 32768; },
         "la tabla anim_Text5, escena 2, animación 3: el número 32768 no cabe en 16 bits"},
        {"a fraction", [](Json& j) { j["store"]["esc_rojo"][1] = 0.5; },
         "esc_rojo, escena 1: un elemento es null, un texto o un número entero"},
        {"a list as element", [](Json& j) { j["store"]["esc_rojo"][1] = Json::array(); },
         "un elemento es null, un texto o un número entero"},
        {"a check table with 2", [](Json& j) { j["store"]["esc_Check6"][0] = 2; },
         "esc_Check6, escena 0: una casilla guarda 0 o 1, y no 2"},
        {"ticks past 32 bits", [](Json& j) { j["ticks"] = 2147483648LL; },
         "el total de tics 2147483648 no cabe en 32 bits"},
        {"ticks as text", [](Json& j) { j["ticks"] = "15"; },
         "el total de tics no es un número entero"},
        {"an unknown option",
         [](Json& j) {
             j["options"] = {{"nada", true}};
         },
         "no existe la opción \"nada\""},
        {"an option as number",
         [](Json& j) {
             j["options"] = {{"engine_ready", 1}};
         },
         "la opción \"engine_ready\" no es true ni false"},
        {"the least 16-bit number", [](Json& j) { j["store"]["esc_rojo"][1] = -32768; }, ""},
        {"the most ticks", [](Json& j) { j["ticks"] = 2147483647; }, ""},
        {"a check table with text", [](Json& j) { j["store"]["esc_Check6"][0] = "1"; }, ""},
        {"an option",
         [](Json& j) {
             j["options"] = {{"engine_ready", true}};
         },
         ""},
    };
    // A window that holds another session: a refused file leaves it exactly as it was.
    testing::MemoryForm f;
    f.type(C::rojo, "12");
    const Session before = f.form.snapshot();
    for (const Damage& damage : damages) {
        Json json = Json::parse(busy_bytes());
        damage.change(json);
        f.file->committed = json.dump();
        const auto opened = f.form.open_session("dañada.tavrix");
        if (*damage.reason == '\0') {
            EXPECT_TRUE(opened.ok()) << damage.name << ": " << opened.error().message;
            f.form.restore(before);
            continue;
        }
        ASSERT_FALSE(opened.ok()) << damage.name;
        const std::string* failure = &opened.error().message;
        EXPECT_NE(failure->find(damage.reason), std::string::npos)
            << damage.name << ": " << *failure;
        const bool later = std::string_view(damage.name) == "a later version";
        EXPECT_EQ(
            failure->rfind(later ? "No se pudo abrir la sesión \"dañada.tavrix\": la sesión es"
                                 : "No se pudo abrir la sesión \"dañada.tavrix\": no es una "
                                   "sesión de Tavrix: ",
                           0),
            0u)
            << *failure;
        EXPECT_TRUE(f.form.holds(before)) << damage.name;
    }
}

TEST(SessionFile, RefusesWhatIsNotJsonOrTooLarge) {
    EXPECT_EQ(refusal_of(""), "no es una sesión de Tavrix: no es un documento JSON válido");
    EXPECT_EQ(refusal_of(busy_bytes() + "x"),
              "no es una sesión de Tavrix: no es un documento JSON válido");
    // Valid JSON to a lenient reader, but a member given twice is not a session.
    std::string twice = busy_bytes();
    twice.insert(twice.find("\"version\""), "\"format\": \"tavrix-session\", ");
    EXPECT_NE(refusal_of(twice).find("el miembro \"format\" aparece dos veces"), std::string::npos)
        << refusal_of(twice);
    std::string padded = busy_bytes();
    padded.resize(kSessionFileLimit + 1, ' ');
    EXPECT_EQ(refusal_of_file(padded), "el archivo ocupa más de 16 MiB");
    padded.resize(kSessionFileLimit);
    EXPECT_EQ(refusal_of_file(padded), "(leída)");
}

// A storyboard file with a key the window has no field for.
constexpr const char* kStoryboard =
    "[SceneDef]\r\ndebug = 1\r\n[Scene 0]\r\nlayer0.anim = 0\r\n[Begin Action 0]\r\n0,0, 0,0, "
    "5\r\n";

// A window that answers the session flow from a script and writes down what it was asked.
struct ScriptedWindow final : SessionWindow {
    std::optional<std::string> chosen;  // the file dialogs' answer
    UnsavedAnswer unsaved = UnsavedAnswer::Stay;
    bool yes = false;
    std::string seen;

    void note(const std::string& what) { seen += (seen.empty() ? "" : " | ") + what; }
    std::optional<std::string> choose_file(FileChoice kind, const std::string& current) override {
        constexpr const char* kAsked[] = {"abrir en ", "guardar en ", "importar en "};
        note(kAsked[static_cast<int>(kind)] + current);
        return chosen;
    }
    UnsavedAnswer ask_unsaved(const SessionQuestion& q) override {
        note(q.text + " " + std::string(q.yes) + "/" + std::string(q.no) + "/Cancelar");
        return unsaved;
    }
    bool ask(const SessionQuestion& q) override {
        note(q.text + " " + std::string(q.yes) + "/" + std::string(q.no));
        return yes;
    }
    void show_failure(const std::string&) override { note("fallo"); }
    void show_opened_session() override { note("mostrar"); }
    void show_not_taken(const std::vector<std::string>& lines) override {
        note("no tomadas " + std::to_string(lines.size()));
    }
    void refresh_title() override { note("título"); }
    void write_recovery_copy() override { note("copia"); }
    void remove_recovery_copy() override { note("sin copia"); }
    void remove_file(const std::string& path) override { note("borrar " + path); }
};

// The "Archivo" menu's session commands step by step: what the window is asked and shown,
// which file the session names, and whether the window holds what that file holds. A
// failure changes neither; a copy never makes the session count as saved, and an imported
// storyboard is unsaved even when the window held it already.
TEST(SessionFlow, AsksSavesOpensAndRecovers) {
    auto file = std::make_shared<testing::MemoryFile>();
    std::size_t room = 0;  // 0: the disk is full
    Platform platform = testing::memory_platform(file);
    platform.open_output = [file, &room] {
        return std::make_unique<testing::MemoryOutput>(file, room);
    };
    Form1 form(std::move(platform));
    SessionDocument document(form);
    ScriptedWindow window;
    SessionFlow flow(document, window);
    enum class Do {
        Edit,
        Save,
        SaveAs,
        FullDiskSave,
        Settle,
        Open,
        OpenDamaged,
        Copy,
        Recover,
        Import,
        ImportDamaged
    };
    struct Step {
        Do what;
        const char* answer;  // the file chosen (none when empty), the text typed, the copy
        UnsavedAnswer unsaved_answer;
        bool yes;
        bool ok;
        const char* seen;
        const char* named;
        bool unsaved;
    };
    constexpr auto kStay = UnsavedAnswer::Stay;
    const char* const kAsk = "¿Guardar los cambios de la sesión? Guardar/No guardar/Cancelar";
    const char* const kImported = "importar en e | mostrar | copia | título | no tomadas 1";
    const char* const kImportedAgain = "importar en g | mostrar | copia | título | no tomadas 1";
    const std::string kOffer =
        "Se encontró una sesión sin guardar del ayer. ¿Recuperarla? "
        "Recuperar/Descartar";
    const Step steps[] = {
        {Do::Edit, "30", kStay, false, true, "", "", true},
        {Do::Save, "", kStay, false, false, "guardar en ", "", true},
        {Do::Save, "a", kStay, false, true, "guardar en  | sin copia | título", "a", false},
        {Do::Edit, "31", kStay, false, true, "", "a", true},
        {Do::FullDiskSave, "", kStay, false, false, "fallo", "a", true},
        {Do::Settle, "", kStay, false, false, kAsk, "a", true},
        {Do::Settle, "", UnsavedAnswer::Discard, false, true, kAsk, "a", true},
        {Do::Open, "b", UnsavedAnswer::Save, false, true, "", "b", false},
        {Do::Settle, "", kStay, false, true, "", "b", false},
        {Do::OpenDamaged, "c", kStay, false, false, "mostrar | fallo", "b", false},
        {Do::Edit, "32", kStay, false, true, "", "b", true},
        {Do::SaveAs, "d", kStay, false, true, "guardar en b | sin copia | título", "d", false},
        {Do::Edit, "33", kStay, false, true, "", "d", true},
        {Do::Copy, "copia", kStay, false, true, "", "d", true},
        {Do::Recover, "copia", kStay, false, false, "", "d", true},
        {Do::Recover, "copia", kStay, true, true, "", "", true},
        {Do::SaveAs, "e", kStay, false, true, "guardar en  | sin copia | título", "e", false},
        {Do::ImportDamaged, "f", kStay, false, true, "importar en e | fallo", "e", false},
        {Do::Import, "f", kStay, false, true, kImported, "", true},
        {Do::Import, "f", kStay, false, true, kAsk, "", true},
        {Do::SaveAs, "g", kStay, false, true, "guardar en  | sin copia | título", "g", false},
        {Do::Import, "f", kStay, false, true, kImportedAgain, "", true},
    };
    const std::string seen_opening = kAsk + std::string(
                                                " | sin copia | título | abrir en a | "
                                                "mostrar | sin copia | título");
    for (const Step& step : steps) {
        SCOPED_TRACE(step.answer);
        room = step.what == Do::FullDiskSave ? 0 : std::numeric_limits<std::size_t>::max();
        window.chosen = *step.answer ? std::optional<std::string>(step.answer) : std::nullopt;
        window.unsaved = step.unsaved_answer;
        window.yes = step.yes;
        window.seen.clear();
        std::string seen = step.seen;
        bool ok = true;
        switch (step.what) {
            case Do::Edit:
                ok = form.type_text(C::cantA, step.answer) == ActionStatus::Done;
                break;
            case Do::Save:
            case Do::FullDiskSave:
                ok = flow.save();
                break;
            case Do::SaveAs:
                ok = flow.save_as();
                break;
            case Do::Settle:
                ok = flow.settle_unsaved();
                break;
            case Do::Open:
                flow.open_session();
                seen = seen_opening;
                break;
            case Do::OpenDamaged:
                file->committed = "no es una sesión";
                ok = flow.open_file(step.answer);
                break;
            case Do::Copy:
                ok = document.write_copy(step.answer).ok();
                break;
            case Do::Import:
            case Do::ImportDamaged:
                file->committed = step.what == Do::Import ? kStoryboard : "sin secciones";
                flow.import_storyboard();
                break;
            case Do::Recover:
                ok = flow.offer_recovery(step.answer, "ayer");
                seen = kOffer + (step.yes ? " | mostrar | copia | borrar copia | título"
                                          : " | borrar copia");
                break;
        }
        EXPECT_EQ(ok, step.ok);
        EXPECT_EQ(window.seen, seen);
        EXPECT_EQ(document.path(), step.named);
        EXPECT_EQ(document.unsaved(), step.unsaved);
    }
}

}  // namespace
}  // namespace tavrix
