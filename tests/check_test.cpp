// "Comprobar": each rule as one row, fields in, findings out, from a storyboard that an engine
// plays as meant.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "storyboard/check.h"

namespace tavrix {
namespace {

struct Row {
    const char* name;
    std::function<void(StoryboardFields&)> edit;
    std::vector<std::string> findings;
};

StoryboardFields clean_storyboard() {
    StoryboardFields f{};
    f.path = "juego/intro.def";
    f.sprite_file = "intro.sff";
    f.clear_colour = {"0", "0", "0"};
    f.layer = {"0", {"0", "0"}, {"0", "0"}, "0"};
    f.from = {"0", "0", "0", "0", "1"};
    f.to = {"0", "0", "0", "0", "1"};
    f.engine_ready = true;
    return f;
}

const char* const kDropped = "; el motor descarta esas líneas sin avisar.";

TEST(Check, EachRuleGivesItsFindings) {
    const Row rows[] = {
        {"clean", [](StoryboardFields&) {}, {}},
        {"no engine keys",
         [](StoryboardFields& f) {
             f.engine_ready = false;
             f.background = StoryboardFields::Background{"0", {"0", "0"}};
         },
         {"La escena no tiene end.time: el motor la juega durante 0 tics (active «Archivo listo "
          "para el motor» en «Herramientas»).",
          "Máscara: ningún bg.name de la escena apunta a [BG1], que nunca se ve (active «Archivo "
          "listo para el motor»)."}},
        {"speed passes 0",
         [](StoryboardFields& f) { f.from[kSpeed] = "-2", f.to[kSpeed] = "1"; },
         {"Velocidad: vale 0 en el marco 3; el motor nunca muestra un marco de tiempo 0.",
          "Velocidad: es negativa en los marcos 1 y 2; el motor se queda parado en el primero "
          "de ellos."}},
        {"fractions",
         [](StoryboardFields& f) { f.from[kX] = "0.5", f.to[kX] = "3"; },
         {std::string("X: hay una fracción en los marcos 1, 2 y 3") + kDropped}},
        {"typed forms",
         [](StoryboardFields& f) {
             f.from = {"+1", "&H1", "-", "1E1", "1"};
             f.to = {"1", "1", "0", "10", "1"};
         },
         {std::string("Grupo: hay un signo «+» en el marco 1") + kDropped,
          std::string("Imagen: hay un número &H o &O en el marco 1") + kDropped,
          "X: hay un «-» solo en el marco 1; el motor aborta el guion.",
          std::string("Y: hay un exponente en el marco 1") + kDropped}},
        {"16 bits, counted",
         [](StoryboardFields& f) { f.from[kX] = "32760", f.to[kX] = "32780"; },
         {"X: hay un valor fuera de -32768 a 32767 en 13 marcos (del 9 al 21); el motor guarda "
          "16 bits y el valor da la vuelta."}},
        {"a million frames",
         [](StoryboardFields& f) { f.to[kY] = "-2000000"; },
         {"Y: hay un valor fuera de -32768 a 32767 en 1967232 marcos (del 32770 al 2000001); el "
          "motor guarda 16 bits y el valor da la vuelta.",
          "La expansión escribiría 2000001 marcos, más de un millón."}},
        {"not a number",
         [](StoryboardFields& f) { f.from[kX] = "5x", f.to[kX] = "9"; },
         {"X: «5x» en la fila «Desde:» no es un número completo; «Generar!» no podrá terminar."}},
        {"action number",
         [](StoryboardFields& f) { f.layer.animation = "1.5"; },
         {"Número (Animación): «1.5» no es un número entero; layer0.anim y «[Begin action]» "
          "abortan el guion del motor."}},
        {"action heading",
         [](StoryboardFields& f) { f.layer.animation = " 5"; },
         {"Número (Animación): « 5» lleva espacios; «[Begin action]» ya no nombra la acción."}},
        {"number keys",
         [](StoryboardFields& f) {
             f.start_scene = "1";
             f.fade = StoryboardFields::Fade{"", {"0", "0", "0"}, " 30 "};
             f.clear_colour[2] = "2.5";
         },
         {"Tik de aparición (Fade) está vacío; el motor usa su valor por omisión.",
          "Azul (Color de fondo): «2.5» no es un número entero; el motor usa su valor por "
          "omisión o aborta el guion.",
          "Escena inicial: un motor cuenta las escenas desde 1 y otro desde 0, y el archivo solo "
          "tiene la escena 0."}},
        {"files",
         [](StoryboardFields& f) {
             f.sprite_file = "falta.sff";
             f.music = StoryboardFields::Music{"c:\\canción.mp3", "0"};
         },
         {"Archivo .sff: «falta.sff» no existe junto al archivo del guion.",
          "Sonido: «c:\\canción.mp3» tiene caracteres fuera de ASCII; un motor en Windows puede "
          "no encontrarlo."}},
    };
    // Only "juego/intro.sff" and "c:\canción.mp3" are there.
    const FileExists exists = [](std::string_view path) {
        return path == "juego/intro.sff" || path == "c:\\canción.mp3";
    };
    for (const Row& row : rows) {
        StoryboardFields fields = clean_storyboard();
        row.edit(fields);
        EXPECT_EQ(check_storyboard(fields, exists), row.findings) << row.name;
    }
}

}  // namespace
}  // namespace tavrix
