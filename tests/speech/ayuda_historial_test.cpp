// The keys players of audio games expect: F1 help per screen and phase, the message history,
// the room sounds' level. None of them changes the game or the message F5 repeats.
#include <gtest/gtest.h>

#include "replay/output.hpp"
#include "speech/historial.hpp"
#include "support/banco.hpp"

namespace veldrisa {
namespace {

::testing::AssertionResult Contiene(const std::string& texto, const std::string& parte) {
    if (texto.find(parte) != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << parte << "\" is not in \"" << texto << "\"";
}

// The game's state as the replay tool reports it: the whole of what a key could change.
std::string Estado(Banco& b) { return StateJson(b.programa); }

// F1 on a bench: what it spoke, after checking that it changed nothing and is not repeated by F5.
std::string Ayuda(Banco& b) {
    const std::string antes = Estado(b);
    const std::string ultimo = b.programa.voz.UltimoMensaje;
    b.olvida();
    b.teclas({"F1"});
    EXPECT_EQ(b.dichos().size(), 1u);
    const std::string ayuda = b.dicho();
    EXPECT_EQ(Estado(b), antes);
    EXPECT_EQ(b.programa.voz.UltimoMensaje, ultimo);
    // The voice reads every mark aloud: the spoken help has none.
    EXPECT_EQ(ayuda.find_first_of(":.,;"), std::string::npos) << ayuda;
    EXPECT_EQ(b.pitidos(), 0);
    return ayuda;
}

TEST(AyudaF1, SetupScreenNamesItsKeysTheVoiceKeysAndHelp) {
    Banco b;
    ASSERT_TRUE(b.programa.Inicia());
    std::string ayuda = Ayuda(b);
    for (const char* parte :
         {"Flechas elegir personaje", "Espacio seleccionar", "F2 cambiar el nombre", "Enter empezar",
          "F7 y F8 velocidad de la voz", "F9 y F10 voz", "Control callar", "F1 ayuda",
          "Re Pág y Av Pág mensajes anteriores", "F11 y F12 volumen de los sonidos", "Escape salir"})
        EXPECT_TRUE(Contiene(ayuda, parte));
    // Each key its own paragraph, so that the voice pauses between them.
    EXPECT_TRUE(Contiene(ayuda, "seleccionar\r\n\r\nF2"));
    EXPECT_EQ(AyudaEscrita(b.programa.Ayuda()).rfind("Flechas: elegir personaje. Espacio: seleccionar. ", 0),
              0u);
}

TEST(AyudaF1, EachPhaseOfTheGameWindowFirstNamesWhatItWaitsFor) {
    Banco b;
    ASSERT_TRUE(b.programa.Inicia());
    b.teclas({"SPACE", "ENTER"});  // the first character is a player's, the rest the computer's
    ASSERT_EQ(b.mesa().Fase, Fases::Informe);
    std::string ayuda = Ayuda(b);
    EXPECT_EQ(ayuda.rfind("Espacio elegir salas", 0), 0u) << ayuda;
    for (const char* parte :
         {"H el heredero", "F5 repetir", "F1 ayuda", "Re Pág", "F11 y F12", "Escape salir"})
        EXPECT_TRUE(Contiene(ayuda, parte));

    b.teclas({"SPACE"});
    ASSERT_EQ(b.mesa().Fase, Fases::Salas);
    ASSERT_LT(b.programa.form1.Actual().Sala, 1) << "the room choice waits for the player";
    ayuda = Ayuda(b);
    EXPECT_EQ(ayuda.rfind("1 a " + std::to_string(b.mesa().NumSalas) + " elegir sala", 0), 0u) << ayuda;
    EXPECT_TRUE(Contiene(ayuda, "C sus cartas"));

    b.teclas({"1"});
    ayuda = Ayuda(b);
    EXPECT_EQ(ayuda.rfind("Espacio elegir cartas", 0), 0u) << ayuda;

    b.teclas({"SPACE"});
    ASSERT_EQ(b.mesa().Fase, Fases::Cartas);
    ayuda = Ayuda(b);
    EXPECT_EQ(ayuda.rfind("1 o 2 elegir carta", 0), 0u) << ayuda;
    EXPECT_TRUE(Contiene(ayuda, "Control y 1 o 2 tirar la carta"));
    EXPECT_TRUE(Contiene(ayuda, "P dónde está"));

    b.teclas({"CTRL+1"});  // thrown away: no target to choose
    ayuda = Ayuda(b);
    EXPECT_EQ(ayuda.rfind("Espacio pasar la noche", 0), 0u) << ayuda;

    b.mesa().Fase = Fases::Objetivo;
    b.mesa().NumObjetivos = 3;
    ayuda = Ayuda(b);
    EXPECT_EQ(ayuda.rfind("1 a 3 elegir objetivo", 0), 0u) << ayuda;
    EXPECT_TRUE(Contiene(ayuda, "Espacio oír los objetivos"));

    b.mesa().Fase = Fases::FinPartida;
    ayuda = Ayuda(b);
    EXPECT_EQ(ayuda.rfind("1 nueva partida", 0), 0u) << ayuda;
    EXPECT_FALSE(Contiene(ayuda, "Espacio"));
    EXPECT_EQ(AyudaEscrita(b.programa.Ayuda()).rfind("1: nueva partida. F5: repetir. ", 0), 0u);
}

// Page Up, Page Down, Home and End as the replay tool names them.
constexpr const char* RePag = "VK33";
constexpr const char* AvPag = "VK34";
constexpr const char* Fin = "VK35";
constexpr const char* Inicio = "VK36";

TEST(Historial, BrowsingReadsThePastMessagesAndSaysWhereItEnds) {
    Banco b;
    ASSERT_TRUE(b.programa.Inicia());
    b.teclas({"RIGHT", "RIGHT"});
    const std::vector<std::string> dichos = b.dichos();  // the introduction and two characters
    ASSERT_EQ(dichos.size(), 3u);
    const std::string antes = Estado(b);
    const std::string ultimo = b.programa.voz.UltimoMensaje;

    std::vector<std::string> oido;
    for (const char* tecla : {RePag, RePag, RePag, AvPag, Fin, AvPag, Inicio, RePag}) {
        b.olvida();
        b.teclas({tecla});
        oido.push_back(b.dicho());
    }
    EXPECT_EQ(oido, (std::vector<std::string>{dichos[1], dichos[0], "Principio", dichos[1], dichos[2],
                                              "Final", dichos[0], "Principio"}));
    EXPECT_EQ(Estado(b), antes);
    EXPECT_EQ(b.pitidos(), 0);
    EXPECT_EQ(b.programa.voz.UltimoMensaje, ultimo);

    // A new message brings the browsing back to the newest.
    b.teclas({Inicio, "RIGHT", RePag});
    EXPECT_EQ(b.dicho(), dichos[2]);

    // In the game window F5 repeats the game's last message, browsed or not, and a repetition
    // is not kept twice.
    b.teclas({"ENTER"});
    const std::string informe = b.programa.voz.UltimoMensaje;
    const std::size_t guardados = b.programa.voz.historial.size();
    b.teclas({"F5", RePag, RePag, "F5"});
    EXPECT_EQ(b.dicho(), informe);
    EXPECT_EQ(b.programa.voz.historial.size(), guardados);
}

TEST(Historial, KeepsTheLatestMessagesOfBothScreensAndDropsTheOldest) {
    Banco b;
    ASSERT_TRUE(b.programa.Inicia());
    for (int i = 0; i < 260; ++i) b.teclas({"RIGHT"});
    b.teclas({"ENTER"});
    const std::vector<std::string> dichos = b.dichos();
    ASSERT_GT(dichos.size(), MensajesGuardados);
    ASSERT_GE(MensajesGuardados, 100u);
    b.teclas({Inicio});
    EXPECT_EQ(b.dicho(), dichos[dichos.size() - MensajesGuardados]);
    b.teclas({Fin});
    EXPECT_EQ(b.dicho(), dichos.back()) << "the game window's report is the newest";
}

TEST(Historial, AHugeNameKeepsOnlyTheStartOfEachMessageAndTheLatestOnes) {
    Banco b;
    ASSERT_TRUE(b.programa.Inicia());
    const std::string nombre(256 * 1024, 'x');
    b.responde(nombre);
    b.teclas({"F2"});
    for (int i = 0; i < 40; ++i) {
        b.teclas({"RIGHT", "LEFT"});  // the renamed character's name is said each time
        b.olvida();
    }
    b.teclas({Fin});
    EXPECT_EQ(b.dicho(), nombre.substr(0, BytesPorMensajeGuardado)) << "browsing reads the message's start";
    b.teclas({Inicio});
    EXPECT_NE(b.dicho().rfind("La fortuna de Veldrisa", 0), 0u) << "the oldest messages gave way";
    std::size_t leidos = b.dicho().size();
    for (int i = 0; i < 60; ++i) {
        b.teclas({AvPag});
        if (b.dicho() != FinalHistorial) leidos += b.dicho().size();
    }
    EXPECT_LE(leidos, BytesGuardados);
    EXPECT_EQ(b.programa.voz.UltimoMensaje, nombre + "No seleccionado")
        << "only the history keeps less: the message F5 repeats is whole";
}

TEST(NivelSonidos, F11AndF12StepTheRoomSoundsDownToOffAndUpToFull) {
    Banco b;
    ASSERT_TRUE(b.programa.Inicia());
    auto niveles = [&] {
        std::vector<std::pair<int, int>> out;
        for (const auto& e : b.eventos(EventKind::SoundVolume)) out.emplace_back(int(e.number), e.level);
        return out;
    };
    b.olvida();
    b.teclas({"F12"});
    EXPECT_EQ(b.dicho(), "Sonidos al 50 %");
    EXPECT_EQ(niveles(), (std::vector<std::pair<int, int>>{{1, 50}, {2, 50}, {3, 50}, {4, 50}}));
    for (int i = 0; i < 5; ++i) b.teclas({"F12"});
    EXPECT_EQ(b.dicho(), "Sonidos al 100 %");
    b.olvida();
    b.teclas({"F12"});
    EXPECT_EQ(b.dicho(), "Sonidos al máximo");
    EXPECT_TRUE(niveles().empty());

    for (int i = 0; i < 9; ++i) b.teclas({"F11"});
    EXPECT_EQ(b.dicho(), "Sonidos al 10 %");
    b.olvida();
    b.teclas({"F11", "F11"});
    EXPECT_EQ(b.dichos(), (std::vector<std::string>{"Sonidos apagados", "Sonidos apagados"}));
    EXPECT_EQ(niveles(), (std::vector<std::pair<int, int>>{{1, 0}, {2, 0}, {3, 0}, {4, 0}}));

    // The level goes on in the game window, whose room sounds the game starts and stops itself.
    b.teclas({"ENTER"});
    b.olvida();
    b.teclas({"F12"});
    EXPECT_EQ(b.dicho(), "Sonidos al 10 %");
    EXPECT_EQ(niveles().size(), 4u);
}

TEST(NivelSonidos, TheLevelIsSaidLikeTheHelpNeitherRepeatedByF5NorKept) {
    Banco b;
    ASSERT_TRUE(b.programa.Inicia());
    b.teclas({"ENTER"});
    const std::string informe = b.programa.voz.UltimoMensaje;
    const std::size_t guardados = b.programa.voz.historial.size();
    for (const char* tecla : {"F11", "F12", "F12"}) {
        b.teclas({tecla});
        EXPECT_EQ(b.dichos().back().rfind("Sonidos al ", 0), 0u);
        b.teclas({"F5"});
        EXPECT_EQ(b.dicho(), informe) << "F5 after " << tecla;
        b.teclas({Fin});
        EXPECT_EQ(b.dicho(), informe) << "the newest message of the history after " << tecla;
    }
    for (int i = 0; i < 12; ++i) b.teclas({"F11"});
    EXPECT_EQ(b.dicho(), "Sonidos apagados");
    b.teclas({"F5"});
    EXPECT_EQ(b.dicho(), informe);
    EXPECT_EQ(b.programa.voz.historial.size(), guardados);

    // The voice keys keep theirs: their messages are repeated and kept.
    b.teclas({"F8", "F5"});
    EXPECT_EQ(b.dicho(), "Velocidad de la voz más rápida");
}

}  // namespace
}  // namespace veldrisa
