// The setup screen driven through the whole program on the test bench.
#include <gtest/gtest.h>

#include "platform/recording/banco.hpp"

namespace veldrisa {
namespace {

const std::string Intro =
    "La fortuna de Veldrisa. Escoja los personajes que desea controlar y pulse Enter cuando esté listo. ";

Event Said(std::string text, bool before = false, bool after = false) {
    return Event::said(std::move(text), before, after);
}

// A bench whose setup screen has just loaded, with the load's events forgotten.
struct Abierto : Banco {
    explicit Abierto(const RecordingOptions& o = {}) : Banco(o) {
        EXPECT_TRUE(programa.Inicia());
        olvida();
    }
};

TEST(CargaFormIni, OpensTheScreenThenSpeaksTheIntroduction) {
    Banco b;
    ASSERT_TRUE(b.programa.Inicia());
    auto screens = b.eventos(EventKind::Screen);
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_EQ(screens[0].text, "setup");
    EXPECT_EQ(b.dichos(), std::vector<std::string>{Intro + "Micifú, el gato andalúNo seleccionado"});
    EXPECT_EQ(b.eventos(EventKind::Said)[0], Said(Intro + "Micifú, el gato andalúNo seleccionado"));
    EXPECT_EQ(b.hablados().back(), "la fortuna de veldrisa. escoja los personajes que desea controlar y pulse "
                                    "enter cuando esté listo. micifú, el gato andalúno seleccionado");
    EXPECT_EQ(b.programa.formIni.PersonajeActual, 1);
    EXPECT_EQ(b.programa.voz.VozActual, 0);
    EXPECT_EQ(b.programa.pantalla(), Pantalla::Inicio);
}

TEST(CargaFormIni, WithoutAVoiceNothingHappens) {
    for (auto voces : {std::vector<std::string>{}, std::vector<std::string>{"", ""}}) {
        Banco b({.voices = voces});
        EXPECT_FALSE(b.programa.Inicia());
        EXPECT_TRUE(b.eventos(EventKind::Screen).empty());
        EXPECT_TRUE(b.eventos(EventKind::Said).empty());
        EXPECT_TRUE(b.eventos(EventKind::Spoke).empty());
    }
}

TEST(Roster, StartsWithTheFixedTemperaments) {
    Abierto b;
    for (int i = 1; i <= 10; ++i) {
        const Personaje& p = b.personaje(i);
        EXPECT_EQ(p.Agresivo, i == 4 || i == 5 || i == 7) << "character " << i;
        EXPECT_EQ(p.Indice, i);
        EXPECT_TRUE(p.Vivo);
        EXPECT_FALSE(p.Controlado);
        EXPECT_EQ(p.Sala, 1);
    }
    EXPECT_EQ(b.personaje(0).Nombre, "Nadie en especial");
    EXPECT_FALSE(b.personaje(0).Vivo);
    EXPECT_EQ(b.personaje(8).Nombre, "Miss Jane Hairton, su peluquera de toda la vida");
}

TEST(Generador, FirstDrawsFromTheStartState) {
    Generador g;
    EXPECT_EQ(g.Estado(), 327680u);
    EXPECT_FALSE(g.MenorQueMedio());
    EXPECT_EQ(g.Estado(), 11837123u);
    EXPECT_EQ(g.Entre1Y(10), 6);  // x = 8949370
    EXPECT_EQ(g.Entero(10), 5);   // x = 9722709
    EXPECT_TRUE(g.MenorQueMedio());
    EXPECT_EQ(g.Estado(), 4858052u);
}

TEST(Generador, SeedingKeepsTheLow24Bits) {
    Generador a, b;
    a.Siembra(0xFF000005u);
    b.Siembra(5);
    EXPECT_EQ(a.Estado(), 5u);
    EXPECT_EQ(a.Entre1Y(1000), b.Entre1Y(1000));
}

TEST(Flechas, MoveAndWrapAround) {
    Abierto b;
    b.teclas({"LEFT"});
    EXPECT_EQ(b.programa.formIni.PersonajeActual, 10);
    EXPECT_EQ(b.eventos(EventKind::Said).back(), Said("Mister Harry Gold, su banquero de confianzaNo seleccionado"));
    b.teclas({"RIGHT"});
    EXPECT_EQ(b.programa.formIni.PersonajeActual, 1);
    b.teclas({"UP", "UP", "DOWN"});
    EXPECT_EQ(b.programa.formIni.PersonajeActual, 10);
    b.teclas({"DOWN", "DOWN"});
    EXPECT_EQ(b.programa.formIni.PersonajeActual, 2);
    EXPECT_EQ(b.dicho(), "Sir Thomas, el apenado maridoNo seleccionado");
    EXPECT_EQ(b.dichos().size(), 7u);
}

TEST(Espacio, SelectingGivesTheHintAfterTheWord) {
    Abierto b;
    b.teclas({"SPACE"});
    EXPECT_TRUE(b.personaje(1).Controlado);
    using K = EventKind;
    std::vector<K> kinds;
    for (const auto& e : b.recorder.events) kinds.push_back(e.kind);
    EXPECT_EQ(kinds, (std::vector<K>{K::Said, K::Spoke, K::Said, K::Waited, K::Spoke}));
    EXPECT_EQ(b.recorder.events[0], Said("Seleccionado"));
    EXPECT_EQ(b.recorder.events[2], Said("Pulse f2 si desea cambiar el nombre del personaje", true, false));
}

TEST(Espacio, DeselectingSaysOnlyTheWord) {
    Abierto b;
    b.teclas({"SPACE", "RIGHT", "LEFT"});
    b.olvida();
    b.teclas({"SPACE"});
    EXPECT_FALSE(b.personaje(1).Controlado);
    EXPECT_EQ(b.dichos(), std::vector<std::string>{"No seleccionado"});
    EXPECT_TRUE(b.eventos(EventKind::Waited).empty());
    b.teclas({"RIGHT", "SPACE", "LEFT"});
    EXPECT_TRUE(b.personaje(2).Controlado);
    EXPECT_EQ(b.dicho(), "Micifú, el gato andalúNo seleccionado");
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
    EXPECT_EQ(b.recorder.events[3], Said("  Doña Rosa, ¡la PRIMA!  Seleccionado", true, false));
    EXPECT_EQ(b.hablados().back(), "  doña rosa, ¡la prima!  seleccionado");
    EXPECT_EQ(b.personaje(1).Nombre, "  Doña Rosa, ¡la PRIMA!  ");
    EXPECT_TRUE(b.personaje(1).Controlado);
    EXPECT_FALSE(b.personaje(1).Agresivo);
}

TEST(Renombra, WorksOnAnUnselectedCharacterWhichStaysUnselected) {
    Abierto b;
    b.teclas({"LEFT"});
    b.responde("Pepe");
    b.teclas({"F2"});
    EXPECT_EQ(b.personaje(10).Nombre, "Pepe");
    EXPECT_FALSE(b.personaje(10).Controlado);
    EXPECT_EQ(b.dicho(), "PepeNo seleccionado");
    b.teclas({"RIGHT", "LEFT"});
    EXPECT_EQ(b.dicho(), "PepeNo seleccionado");
}

TEST(Renombra, AnEmptyAnswerCancels) {
    Abierto b;
    b.responde("");
    b.teclas({"F2"});
    EXPECT_EQ(b.personaje(1).Nombre, "Micifú, el gato andalú");
    EXPECT_EQ(b.eventos(EventKind::Said).back(), Said("Cancelado"));
    EXPECT_EQ(b.dichos().size(), 2u);
}

TEST(Teclas, ControlSilencesAndOtherKeysDoNothing) {
    Abierto b;
    b.teclas({"CTRL"});
    EXPECT_EQ(b.eventos(EventKind::Said), std::vector<Event>{Said("")});
    b.olvida();
    b.teclas({"5", "A", "F5", "F6", "KP1", "F4", "SHIFT", "VK186", "CTRL+F4"});
    EXPECT_TRUE(b.recorder.events.empty()) << b.recorder.events.front();
    EXPECT_FALSE(b.programa.Terminado());
}

TEST(Teclas, VoiceControlsWorkHere) {
    Abierto b({.voices = {"Ana", "Bea"}});
    b.teclas({"F7", "SHIFT+F7", "CTRL+F8"});
    EXPECT_EQ(b.speech.rate(), -5);
    b.teclas({"F10"});
    EXPECT_EQ(b.dicho(), "Bea");
    b.teclas({"F9", "F9"});
    EXPECT_EQ(b.programa.voz.VozActual, 1);
    EXPECT_EQ(b.speech.selectedVoice(), 1);
}

TEST(Salida, EscapeAndAltF4EndTheProgramSilently) {
    for (auto tecla : {"ESC", "ALT+F4", "SHIFT+ALT+F4"}) {
        Abierto b;
        b.teclas({tecla});
        EXPECT_TRUE(b.programa.Terminado()) << tecla;
        EXPECT_TRUE(b.recorder.events.empty()) << tecla;
        b.teclas({"ENTER"});
        EXPECT_TRUE(b.recorder.events.empty()) << "keys after the end are ignored";
    }
}

TEST(Salida, EnterOpensTheGameWithNoCharacterSelected) {
    Abierto b;
    b.teclas({"ENTER"});
    ASSERT_FALSE(b.recorder.events.empty());
    EXPECT_EQ(b.recorder.events.front(), Event(EventKind::Screen, "game"));
    EXPECT_EQ(b.programa.pantalla(), Pantalla::Juego);
    EXPECT_EQ(b.programa.formIni.PersonajeActual, 0);
    EXPECT_EQ(b.mesa().Fase, 1);
}

}  // namespace
}  // namespace veldrisa
