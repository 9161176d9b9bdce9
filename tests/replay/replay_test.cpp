// Whole runs of the replay tool: scripts in, exact JSON lines and exit status out.
#include <gtest/gtest.h>

#include <sstream>

#include "replay/replay.hpp"

namespace veldrisa {
namespace {

struct Resultado {
    int status;
    std::vector<std::string> lines;
    std::string err;
};

Resultado Ejecuta(const std::string& script, const std::vector<std::string>& args = {"--seed", "1"}) {
    std::istringstream in(script);
    std::ostringstream out, err;
    Resultado r{Replay(args, in, out, err), {}, err.str()};
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) r.lines.push_back(line);
    return r;
}

std::string Say(const std::string& text, bool before = false) {
    return R"({"ev":"say","text":")" + text + R"(","before":)" + (before ? "true" : "false") + R"(,"after":false})";
}

const std::string AbreInicio = R"({"ev":"screen","name":"setup"})";
const std::string Intro = Say(
    "La fortuna de Veldrisa. Escoja los personajes que desea controlar y pulse Enter cuando esté listo. "
    "Micifú, el gato andalúNo seleccionado");
const std::string Fin = R"({"ev":"exit"})";

TEST(Replay, WalksTheSetupScreenAndLeaves) {
    auto r = Ejecuta("# choose the second character\nRIGHT\r\n\n  SPACE  \nCTRL\nESC\nNOT A KEY\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.lines, (std::vector<std::string>{
                           AbreInicio, Intro, Say("Sir Thomas, el apenado maridoNo seleccionado"), Say("Seleccionado"),
                           Say("Pulse f2 si desea cambiar el nombre del personaje", true), Say(""), Fin}));
    EXPECT_EQ(r.err, "");
}

TEST(Replay, RenamingThroughTheDialog) {
    auto r = Ejecuta("F2\n# the dialog is open\n\nTEXT  Sr. \"Pepe\" \\ el 2º\r\nF2\nCANCEL\n");
    const std::string dialog =
        R"({"ev":"dialog","title":"Cambiar el nombre al personaje",)"
        R"("prompt":"Escriba el nombre del personaje y pulse enter:","text":")";
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.lines, (std::vector<std::string>{
                           AbreInicio, Intro, Say("Escriba el nombre del personaje y pulse enter: Micifú, el gato andalú"),
                           dialog + R"(Micifú, el gato andalú"})", Say(R"( Sr. \"Pepe\" \\ el 2ºNo seleccionado)", true),
                           Say(R"(Escriba el nombre del personaje y pulse enter:  Sr. \"Pepe\" \\ el 2º)"),
                           dialog + R"( Sr. \"Pepe\" \\ el 2º"})", Say("Cancelado")}));
}

TEST(Replay, EndOfInputWithTheDialogOpenIsAnOrdinaryEnd) {
    auto r = Ejecuta("F2\n# nothing typed\n");
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(r.lines.size(), 4u);
    EXPECT_TRUE(r.lines.back().starts_with(R"({"ev":"dialog")"));
    EXPECT_EQ(r.err, "");
}

TEST(Replay, TheNameFieldKeyByKey) {
    auto r = Ejecuta("F2\nTYPE P\nTYPE e\n# a comment keeps the field open\nFIELD BACKSPACE\nTYPE pe\nFIELD "
                     "CTRL+LEFT\nFIELD END\nFIELD UP\nFIELD ENTER\nF2\nFIELD ESC\nSTATE\n");
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_GE(r.lines.size(), 14u);
    const std::vector<std::string> field(r.lines.begin() + 4, r.lines.begin() + 11);
    EXPECT_EQ(field, (std::vector<std::string>{Say("mayúscula P"), Say("e"), Say("borrado e"), Say("pe"),
                                               Say("Ppe"), Say("en blanco"), Say("Ppe")}));
    EXPECT_EQ(r.lines[11], Say("PpeNo seleccionado", true));
    EXPECT_EQ(r.lines.back().find(R"("Nombre":"Ppe")") == std::string::npos, false) << "FIELD ESC kept the name";
    EXPECT_EQ(r.lines[r.lines.size() - 2], Say("Cancelado"));
}

TEST(Replay, InputErrorsNameTheLineAndStopEverything) {
    struct Caso {
        const char* script;
        int line;
        std::size_t linesOut;
    };
    const Caso casos[] = {
        {"SPACE\n\n# c\nFOO\nSPACE\n", 4, 4},
        {"TEXT Pepe\n", 1, 2},
        {"RIGHT\nCANCEL\n", 2, 3},
        {"F2\nSTATE\n", 2, 4},
        {"F2\n# still open\nSPACE\nTEXT Pepe\n", 3, 4},
        {"F2\nTEXT\n", 2, 4},
        {"VK300\n", 1, 2},
        {"FIELD LEFT\n", 1, 2},
        {"TYPE Pepe\n", 1, 2},
        {"F2\nFIELD BOGUS\n", 2, 4},
        {"F2\nFIELD\n", 2, 4},
        {"BACKSPACE\n", 1, 2},
    };
    for (const auto& c : casos) {
        auto r = Ejecuta(c.script);
        EXPECT_EQ(r.status, 2) << c.script;
        EXPECT_EQ(r.lines.size(), c.linesOut) << c.script;
        EXPECT_NE(r.err.find("line " + std::to_string(c.line) + ":"), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

TEST(Replay, UsageErrorsWriteNothingOnStandardOutput) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"--bogus"}, {"--seed", "x"}, {"--voice"}}) {
        auto r = Ejecuta("SPACE\n", args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.lines.empty());
        EXPECT_TRUE(r.err.starts_with("veldrisa-replay: ")) << r.err;
        EXPECT_TRUE(
            r.err.ends_with("\nusage: veldrisa-replay [--seed N] [--voice DESC]... [--no-voices] [--seat 3,7 "
                            "| --spectator]\n"))
            << r.err;
    }
}

TEST(Replay, WithoutVoicesNothingIsWritten) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"--no-voices"}, {"--voice", ""}}) {
        auto r = Ejecuta("SPACE\n", args);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.lines.empty());
        EXPECT_NE(r.err.find("no voice"), std::string::npos) << r.err;
    }
}

TEST(Replay, VoicesFromTheCommandLine) {
    auto r = Ejecuta("F10\nF10\nF9\n", {"--voice", "", "--voice", "Ana", "--voice", "Bea"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.lines,
              (std::vector<std::string>{AbreInicio, Intro, Say("Bea"), Say("Ana"), Say("Bea")}));
}

std::string Repite(const std::string& item, int n) {
    std::string out = "[";
    for (int i = 0; i < n; ++i) out += (i ? "," : "") + item;
    return out + "]";
}

TEST(Replay, StateOnTheSetupScreen) {
    auto r = Ejecuta("F7\nRIGHT\nSPACE\nSTATE\n", {"--voice", "Ana", "--voice", "Bea"});
    ASSERT_EQ(r.lines.size(), 7u);
    std::string personajes = R"([{"Nombre":"Nadie en especial","Controlado":false,"Agresivo":false,"Vivo":false,)"
                             R"("Descarta":false,"Sala":0,"Carta1":0,"Carta2":0,"CartaElegida":0,"Objetivo":0})";
    const char* nombres[] = {"Micifú, el gato andalú",
                             "Sir Thomas, el apenado marido",
                             "Jenniffer, la hija pija",
                             "William, el hijo rockero",
                             "Lady Mary Simmons la cotilla, su mejor amiga",
                             "Bautista, el chófer",
                             "Tom, el mayordomo",
                             "Miss Jane Hairton, su peluquera de toda la vida",
                             "Miss Pamela Skystar, su vidente personal",
                             "Mister Harry Gold, su banquero de confianza"};
    for (int i = 1; i <= 10; ++i) {
        personajes += R"(,{"Nombre":")" + std::string(nombres[i - 1]) + R"(","Controlado":)" +
                      (i == 2 ? "true" : "false") + R"(,"Agresivo":)" +
                      (i == 4 || i == 5 || i == 7 ? "true" : "false") +
                      R"(,"Vivo":true,"Descarta":false,"Sala":1,"Carta1":0,"Carta2":0,"CartaElegida":0,"Objetivo":0})";
    }
    personajes += "]";
    EXPECT_EQ(r.lines.back(),
              R"({"ev":"state","screen":"setup","PersonajeActual":2,"Fase":0,"Heredero":0,"NumSalas":0,"Turno":0,)"
              R"("LineaSucesion":)" + Repite("0", 10) + R"(,"Mazo":)" + Repite("0", 40) +
                  R"(,"SalaAbierta":)" + Repite("false", 4) + R"(,"OcupantesSala":)" + Repite(R"("")", 4) +
                  R"(,"OrdenDia":[],"DescripcionCorta":false,"Rate":-5,"VozActual":0,"Voces":["Ana","Bea"],)"
                  R"("UltimoMensaje":"Pulse f2 si desea cambiar el nombre del personaje","Personajes":)" +
                  personajes + "}");
}

TEST(Replay, TheGameWindowOpensOnEnterAndItsLogIsReportedWhenItChanges) {
    auto r = Ejecuta("ENTER\nH\nSTATE\nH\nESC\n");
    EXPECT_EQ(r.status, 0);
    ASSERT_GE(r.lines.size(), 4u);
    EXPECT_EQ(r.lines[2], R"({"ev":"screen","name":"game"})");
    std::vector<std::size_t> logs;
    for (std::size_t i = 0; i < r.lines.size(); ++i)
        if (r.lines[i].starts_with(R"({"ev":"log")")) logs.push_back(i);
    ASSERT_EQ(logs.size(), 1u) << "the first status report writes the log; H leaves it alone";
    auto state = std::find_if(r.lines.begin(), r.lines.end(),
                              [](const std::string& l) { return l.starts_with(R"({"ev":"state")"); });
    ASSERT_NE(state, r.lines.end());
    EXPECT_LT(logs[0], static_cast<std::size_t>(state - r.lines.begin()));
    EXPECT_TRUE(state->starts_with(R"({"ev":"state","screen":"game","PersonajeActual":0,"Fase":1,)")) << *state;
    EXPECT_NE(state->find(R"("SalaAbierta":[true,true,true,true])"), std::string::npos) << *state;
    EXPECT_EQ(r.lines.back(), Fin);
}

TEST(Replay, TheSameSeedReplaysTheSameGame) {
    const std::string script = "ENTER\nSPACE\n1\n2\nSPACE\nSTATE\n";
    auto a = Ejecuta(script, {"--seed", "4294967295"});
    auto b = Ejecuta(script, {"--seed", "4294967295"});
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.lines, b.lines);
}

}  // namespace
}  // namespace veldrisa
