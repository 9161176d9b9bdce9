// The setup screen driven through the whole program on the test bench.
#include <gtest/gtest.h>

#include <vector>

#include "support/banco.hpp"

namespace veldrisa {
namespace {

Event Said(std::string text, bool before = false) { return Event::said(std::move(text), before, false); }

// A bench whose setup screen has just loaded, with the load's events forgotten.
struct Abierto : Banco {
    explicit Abierto(const RecordingOptions& o = {}) : Banco(o) {
        EXPECT_TRUE(programa.Inicia());
        olvida();
    }
    int cursor() const { return programa.formIni.PersonajeActual; }
};

TEST(CargaFormIni, OpensTheScreenThenSpeaksTheIntroduction) {
    Banco b;
    ASSERT_TRUE(b.programa.Inicia());
    EXPECT_EQ(b.eventos(EventKind::Screen), std::vector<Event>{Event(EventKind::Screen, "setup")});
    EXPECT_EQ(b.eventos(EventKind::Said),
              std::vector<Event>{Said("La fortuna de Veldrisa. Escoja los personajes que desea controlar y pulse "
                                      "Enter cuando esté listo. Micifú, el gato andalúNo seleccionado")});
    EXPECT_EQ(b.programa.formIni.PersonajeActual, 1);
    EXPECT_EQ(b.programa.pantalla(), Pantalla::Inicio);
}

TEST(CargaFormIni, WithoutAVoiceNothingHappens) {
    for (auto voces : {std::vector<std::string>{}, std::vector<std::string>{"", ""}}) {
        Banco b({.voices = voces});
        EXPECT_FALSE(b.programa.Inicia());
        EXPECT_TRUE(b.eventos(EventKind::Screen).empty());
        EXPECT_TRUE(b.eventos(EventKind::Spoke).empty());
    }
}

TEST(CargaFormIni, TheUnseededGeneratorMakes4And5And7Aggressive) {
    Abierto b;
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(b.personaje(i).Agresivo, i == 4 || i == 5 || i == 7) << i;
    EXPECT_EQ(b.personaje(0).Nombre, "Nadie en especial");
    EXPECT_FALSE(b.personaje(0).Vivo);
}

TEST(Flechas, MoveAndWrapAround) {
    Abierto b;
    b.teclas({"LEFT"});
    EXPECT_EQ(b.cursor(), 10);
    EXPECT_EQ(b.eventos(EventKind::Said).back(), Said("Mister Harry Gold, su banquero de confianzaNo seleccionado"));
    b.teclas({"RIGHT"});
    EXPECT_EQ(b.cursor(), 1);
    b.teclas({"UP", "UP", "DOWN"});
    EXPECT_EQ(b.cursor(), 10);
    b.teclas({"DOWN", "DOWN"});
    EXPECT_EQ(b.cursor(), 2);
    EXPECT_EQ(b.dicho(), "Sir Thomas, el apenado maridoNo seleccionado");
}

TEST(Espacio, SelectingGivesTheHintAfterTheWordDeselectingOnlyTheWord) {
    Abierto b;
    b.teclas({"SPACE"});
    EXPECT_TRUE(b.personaje(1).Controlado);
    EXPECT_EQ(b.recorder.events,
              (std::vector<Event>{Said("Seleccionado"), Event(EventKind::Spoke, "seleccionado"),
                                  Said("Pulse f2 si desea cambiar el nombre del personaje", true),
                                  Event(EventKind::Waited),
                                  Event(EventKind::Spoke, "pulse f2 si desea cambiar el nombre del personaje")}));
    b.olvida();
    b.teclas({"SPACE"});
    EXPECT_FALSE(b.personaje(1).Controlado);
    EXPECT_EQ(b.dichos(), std::vector<std::string>{"No seleccionado"});
}

TEST(Renombra, TheNewNameIsStoredAsTypedAndAnnouncedAfterWaiting) {
    Abierto b;
    b.teclas({"SPACE"});
    b.olvida();
    b.responde("  Doña Rosa, ¡la PRIMA!  ");
    b.teclas({"F2"});
    ASSERT_EQ(b.recorder.events.size(), 6u);
    EXPECT_EQ(b.recorder.events[0], Said("Escriba el nombre del personaje y pulse enter: Micifú, el gato andalú"));
    EXPECT_EQ(b.recorder.events[2],
              Event::dialog("Cambiar el nombre al personaje", "Escriba el nombre del personaje y pulse enter:",
                            "Micifú, el gato andalú"));
    EXPECT_EQ(b.recorder.events[3], Said("  Doña Rosa, ¡la PRIMA!  Seleccionado", true));
    EXPECT_EQ(b.hablados().back(), "  doña rosa, ¡la prima!  seleccionado");
    EXPECT_EQ(b.personaje(1).Nombre, "  Doña Rosa, ¡la PRIMA!  ");
    EXPECT_TRUE(b.personaje(1).Controlado);
}

TEST(Renombra, AnUnselectedCharacterIsRenamedAndStaysUnselected) {
    Abierto b;
    b.responde("Pepe");
    b.teclas({"LEFT", "F2", "RIGHT", "LEFT"});
    EXPECT_EQ(b.personaje(10).Nombre, "Pepe");
    EXPECT_FALSE(b.personaje(10).Controlado);
    EXPECT_EQ(b.dicho(), "PepeNo seleccionado");
}

TEST(Renombra, AnEmptyAnswerCancels) {
    Abierto b;
    b.responde("");
    b.teclas({"F2"});
    EXPECT_EQ(b.personaje(1).Nombre, "Micifú, el gato andalú");
    EXPECT_EQ(b.eventos(EventKind::Said).back(), Said("Cancelado"));
}

TEST(Teclas, ControlSilencesOtherKeysDoNothingVoiceKeysWork) {
    Abierto b({.voices = {"Ana", "Bea"}});
    b.teclas({"CTRL"});
    EXPECT_EQ(b.eventos(EventKind::Said), std::vector<Event>{Said("")});
    b.olvida();
    b.teclas({"5", "A", "F5", "F6", "KP1", "F4", "SHIFT", "VK186", "CTRL+F4"});
    EXPECT_TRUE(b.recorder.events.empty()) << b.recorder.events.front();
    b.teclas({"F7", "SHIFT+F7", "CTRL+F8", "F9"});
    EXPECT_EQ(b.speech.rate(), -5);
    EXPECT_EQ(b.dicho(), "Bea");
}

TEST(Salida, EscapeAndAltF4EndTheProgramSilently) {
    for (auto tecla : {"ESC", "ALT+F4", "SHIFT+ALT+F4"}) {
        Abierto b;
        b.teclas({tecla, "ENTER"});
        EXPECT_TRUE(b.programa.Terminado()) << tecla;
        EXPECT_TRUE(b.recorder.events.empty()) << tecla;
    }
}

TEST(Salida, EnterOpensTheGameWithNoCharacterSelected) {
    Abierto b;
    b.teclas({"ENTER"});
    ASSERT_FALSE(b.recorder.events.empty());
    EXPECT_EQ(b.recorder.events.front(), Event(EventKind::Screen, "game"));
    EXPECT_EQ(b.programa.pantalla(), Pantalla::Juego);
    EXPECT_EQ(b.programa.formIni.PersonajeActual, 0);
}

}  // namespace
}  // namespace veldrisa
