// Session files: what is written is read back whole, and a file that is not a session, or is
// damaged anywhere, is refused with a reason.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <limits>
#include <string>

#include "app/session_flow.h"
#include "session/session.h"
#include "session/session_file.h"
#include "support/memory_output.h"
#include "system/file_input.h"

namespace tavrix {
namespace {

using C = ControlId;

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

// Why the bytes, in a file on disk opened as a window opens one, are not a session.
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

// A file is read whole only up to its limit.
TEST(SessionFile, RefusesAFileTooLarge) {
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
