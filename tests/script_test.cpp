#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "script/reader.h"
#include "script/runner.h"
#include "support/json.h"
#include "support/memory_output.h"

namespace tavrix {
namespace {

using script::ReadError;
using script::Tokens;

struct ReadCase {
    const char* line;
    std::variant<Tokens, const char*> expected;  // the tokens, or a part of the error
};

TEST(ScriptReader, ReadsTokensAndRejectsWhatItCannotRead) {
    const ReadCase cases[] = {
        {"", Tokens{}},
        {"   \t ", Tokens{}},
        {"# a comment", Tokens{}},
        {"  # indented comment", Tokens{}},
        {"set Text1 5", Tokens{"set", "Text1", "5"}},
        {"set\tText1   \"5\"  ", Tokens{"set", "Text1", "5"}},
        {"set Text1 \"\"", Tokens{"set", "Text1", ""}},
        {"set Text1 \"a b\"", Tokens{"set", "Text1", "a b"}},
        {R"(set T "q\"b\\s\n\r\t")", Tokens{"set", "T", "q\"b\\s\n\r\t"}},
        {R"(set T "\u00e1\u20AC")", Tokens{"set", "T", "á€"}},
        {R"(set T "\ud83d\ude00")", Tokens{"set", "T", "\xF0\x9F\x98\x80"}},
        {"set T c:\\dir\\x.def", Tokens{"set", "T", "c:\\dir\\x.def"}},
        {"set T a#b", Tokens{"set", "T", "a#b"}},
        {"set T \"unterminated", "comilla"},
        {R"(set T "\x")", "escape"},
        {R"(set T "\u12")", "\\u"},
        {R"(set T "\ud83d")", "suplente"},
        {R"(set T "\ude00")", "suplente"},
        {"set T a\"b\"", "espacio"},
        {"set T \"a\"b", "espacio"},
        {"set T \xC3", "UTF-8"},
    };
    for (const ReadCase& c : cases) {
        const auto read = script::read_line(c.line);
        if (const auto* tokens = std::get_if<Tokens>(&c.expected)) {
            ASSERT_TRUE(std::holds_alternative<Tokens>(read)) << c.line;
            EXPECT_EQ(std::get<Tokens>(read), *tokens) << c.line;
        } else {
            ASSERT_TRUE(std::holds_alternative<ReadError>(read)) << c.line;
            EXPECT_NE(std::get<ReadError>(read).message.find(std::get<const char*>(c.expected)),
                      std::string::npos)
                << c.line << ": " << std::get<ReadError>(read).message;
        }
    }
}

struct Outcome {
    int status;
    std::string out;
    std::string err;
    std::shared_ptr<testing::MemoryFile> file;
};

Outcome run(const std::string& script) {
    auto file = std::make_shared<testing::MemoryFile>();
    std::istringstream in(script);
    std::ostringstream out, err;
    const Platform platform{[file] { return std::make_unique<testing::MemoryOutput>(file); },
                            append_windows_1252};
    const int status = script::run_script(in, "guion.tvs", out, err, platform);
    return {status, out.str(), err.str(), file};
}

struct RunCase {
    const char* name;
    const char* script;
    int status;
    const char* err;  // the whole of standard error
};

class ScriptRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(ScriptRun, ReportsAndExitsAsDocumented) {
    const RunCase& c = GetParam();
    const Outcome outcome = run(c.script);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.err, c.err);
    EXPECT_EQ(outcome.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Script, ScriptRun,
    ::testing::Values(
        RunCase{"Empty", "", 0, ""},
        RunCase{"ExpectationsHold",
                "# comment\r\n\r\nset rojo \"\"\r\nexpect rojo text 0\nexpect Check5 value 1\n"
                "expect Text10 visible false\nexpect Label15 caption \"Número de escenas:\"\n"
                "expect ttika enabled false\n",
                0, ""},
        RunCase{"ExpectationFails", "set rojo 5\nexpect rojo text 6\nexpect rojo text 5\n", 1,
                "guion.tvs:2: se esperaba rojo.text = \"6\" y se encontró \"5\"\n"},
        RunCase{"UnknownAction", "\nfoo Text1\nexpect rojo text 6\n", 2,
                "guion.tvs:2: acción desconocida \"foo\" (se admiten set, click, expect y "
                "dump)\n"},
        RunCase{"UnknownName", "set Texto1 5\n", 2,
                "guion.tvs:1: no hay ningún control llamado \"Texto1\"\n"},
        RunCase{"WrongArgumentCount", "click\n", 2,
                "guion.tvs:1: \"click\" lleva 1 argumento(s) y se dieron 0\n"},
        RunCase{"DisabledField", "set ttika 5\n", 2,
                "guion.tvs:1: \"ttika\" está deshabilitado u oculto\n"},
        RunCase{"HiddenField", "set Text10 5\n", 2,
                "guion.tvs:1: \"Text10\" está deshabilitado u oculto\n"},
        RunCase{"SetOnALabel", "set Escena 5\n", 2,
                "guion.tvs:1: \"Escena\" no es un cuadro de texto\n"},
        RunCase{"ClickOnATextBox", "click Text1\n", 2,
                "guion.tvs:1: \"Text1\" no es una casilla ni un botón\n"},
        RunCase{"UnknownProperty", "expect Text1 colour 5\n", 2,
                "guion.tvs:1: propiedad desconocida \"colour\" (se admiten text, caption, value, "
                "enabled y visible)\n"},
        RunCase{"PropertyOfAnotherKind", "expect Text1 caption 5\n", 2,
                "guion.tvs:1: un control de tipo textbox no tiene la propiedad \"caption\"\n"},
        RunCase{"ImpossibleExpectedValue", "expect Check1 value 2\n", 1,
                "guion.tvs:1: se esperaba Check1.value = \"2\" y se encontró \"0\"\n"},
        RunCase{"BadLine", "set Text1 \"5\n", 2,
                "guion.tvs:1: falta la comilla que cierra el texto\n"},
        RunCase{"FailedRunGoesOn",
                "set Text8 -\nclick Command1\nexpect ticsI text \"\"\nset Text8 4\n"
                "click Command1\nexpect ticsI text 4\n",
                3,
                "guion.tvs:2: No se pudo generar \"c:\\intro.def\": el valor \"-\" de "
                "\"Velocidad:\" en la fila \"Desde:\" (Text8) no es un número completo.\n"},
        RunCase{"ExpectFailureAfterAFailedRunWins",
                "set Text8 -\nclick Command1\nexpect ticsI text 9\n", 1,
                "guion.tvs:2: No se pudo generar \"c:\\intro.def\": el valor \"-\" de "
                "\"Velocidad:\" en la fila \"Desde:\" (Text8) no es un número completo.\n"
                "guion.tvs:3: se esperaba ticsI.text = \"9\" y se encontró \"\"\n"}),
    [](const ::testing::TestParamInfo<RunCase>& info) { return info.param.name; });

TEST(Script, StopsAtTheFirstScriptError) {
    const Outcome outcome = run("click Check6\nset nada 1\nclick Check6\n");
    EXPECT_EQ(outcome.status, 2);
    const Outcome dumped = run("click Check6\nset nada 1\ndump\n");
    EXPECT_EQ(dumped.out, "");
}

TEST(Script, DumpAfterStartUpShowsEveryControlAndTheStartUpStore) {
    const Outcome outcome = run("dump\n");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    ASSERT_EQ(std::count(outcome.out.begin(), outcome.out.end(), '\n'), 1);
    const auto json = testing::parse_json(outcome.out);
    ASSERT_TRUE(json) << outcome.out;
    EXPECT_EQ((*json)["window"]["caption"].string(), "Tavrix v2.0 -= BETA =-");
    EXPECT_EQ(std::get<double>((*json)["ticks"].value), 0);

    const auto& controls = (*json)["controls"].object();
    ASSERT_EQ(controls.size(), control_table().size());
    for (const ControlDef& def : control_table()) {
        const testing::Json& control = controls.at(std::string(def.name));
        const auto& members = control.object();
        EXPECT_EQ(control["kind"].string(), kind_name(def.kind));
        const std::string shown = def.kind == Kind::TextBox ? "text" : "caption";
        EXPECT_EQ(members.size(), def.kind == Kind::CheckBox ? 5u : 4u) << def.name;
        if (def.id != ControlId::Label9) {
            EXPECT_EQ(control[shown].string(), def.text);
        }
        EXPECT_EQ(std::get<bool>(control["enabled"].value), def.initially.enabled);
        EXPECT_EQ(std::get<bool>(control["visible"].value), def.initially.visible);
        if (def.kind == Kind::CheckBox) {
            EXPECT_EQ(std::get<double>(control["value"].value), def.initially.value);
        }
    }
    EXPECT_NE(controls.at("Label9")["caption"].string().find('\r'), std::string::npos);

    const auto& store = (*json)["store"].object();
    ASSERT_EQ(store.size(), kTableCount);
    for (const TableDef& table : tables_in_reload_order()) {
        const auto& scenes = store.at(std::string(table.name)).array();
        ASSERT_EQ(scenes.size(), 10u) << table.name;
        const bool zeros = table.name == "esc_rojo" || table.name == "esc_verde" ||
                           table.name == "esc_azul" || table.name == "esc_cantA";
        for (const testing::Json& scene : scenes) {
            if (table.kind == TableKind::PerAnimation) {
                ASSERT_EQ(scene.array().size(), 10u);
                for (const testing::Json& element : scene.array()) {
                    EXPECT_TRUE(std::holds_alternative<std::nullptr_t>(element.value));
                }
            } else if (zeros) {
                EXPECT_EQ(std::get<double>(scene.value), 0) << table.name;
            } else {
                EXPECT_TRUE(std::holds_alternative<std::nullptr_t>(scene.value)) << table.name;
            }
        }
    }
}

TEST(Script, DumpShowsTextsNumbersAndTheTickTotal) {
    const Outcome outcome =
        run("set rojo \"1\\\"2\"\nset Text8 15\nclick Command1\nset cantA \"\\t\"\ndump\n");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const auto json = testing::parse_json(outcome.out);
    ASSERT_TRUE(json) << outcome.out;
    EXPECT_EQ((*json)["store"]["esc_rojo"].array()[0].string(), "1\"2");
    EXPECT_EQ(std::get<double>((*json)["store"]["esc_rojo"].array()[1].value), 0);
    EXPECT_EQ((*json)["store"]["anim_Text8"].array()[0].array()[0].string(), "15");
    EXPECT_EQ((*json)["store"]["esc_cantA"].array()[0].string(), "\t");
    EXPECT_EQ(std::get<double>((*json)["ticks"].value), 15);
    EXPECT_EQ((*json)["controls"]["tiempoI"]["text"].string(), "0.25");
}

}  // namespace
}  // namespace tavrix
