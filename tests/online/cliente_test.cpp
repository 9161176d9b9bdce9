// The online client against a stand-in connection: what the player hears at each step, what
// reaches the server and what never does, and coming back after a lost connection.
#include "online/cliente.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "platform/recording/connection.hpp"
#include "ports/keys.hpp"
#include "support/banco.hpp"

namespace veldrisa {
namespace {

using json = nlohmann::json;

const std::string Huella(64, 'A');
const std::string Otra = std::string(63, 'A') + "B";
constexpr const char* Token = "0123456789abcdef0123456789abcdef";

std::string Mesas(const std::string& lista) { return R"({"type":"tables","tables":[)" + lista + "]}"; }
const std::string DosMesas =
    Mesas(R"({"id":"t1","private":false,"time_limit":0,"players":1,"spectators":0,"free":9,"started":false},)"
          R"({"id":"t2","private":true,"time_limit":60,"players":3,"spectators":2,"free":0,"started":true})");

// A table message: character 1 is the player's, 2 is Ana's, the rest free.
std::string MesaT1(bool creador, bool empezada, const std::string& evento = "") {
    json personajes = json::array();
    for (int c = 1; c <= 10; ++c) {
        json p{{"character", c}, {"name", "P" + std::to_string(c)}, {"yours", c == 1}, {"computer", c > 2}};
        if (c == 1) p["player"] = "Yo";
        if (c == 2) p["player"] = "Ana";
        personajes.push_back(p);
    }
    json m{{"type", "table"},     {"id", "t1"},         {"private", false},
           {"time_limit", 0},     {"creator", creador}, {"spectator", false},
           {"started", empezada}, {"spectators", 0},    {"characters", personajes}};
    if (!evento.empty()) m["event"] = evento;
    return m.dump();
}

// The whole program, online over the stand-in connection.
struct EnLinea : Banco {
    explicit EnLinea(OpcionesEnLinea o = {}) {
        programa.PermiteEnLinea(red, std::move(o));
        programa.Inicia();
    }
    // The server sends these; the program reads them between two keys.
    void servidor(std::initializer_list<std::string> mensajes) {
        for (const auto& m : mensajes) red.message(m);
        programa.Red();
    }
    void abre(bool confiable = true) {
        red.opened(Huella, confiable);
        programa.Red();
    }
    std::vector<json> enviados() {
        std::vector<json> out;
        for (const auto& t : red.takeSent()) out.push_back(json::parse(t));
        return out;
    }
    std::vector<std::string> tipos() {
        std::vector<std::string> out;
        for (const auto& j : enviados()) out.push_back(j["type"]);
        return out;
    }
    // Up to the hall's list, connected to 127.0.0.1:7531 as "Yo".
    void enLaLista() {
        teclas({"F3"});
        programa.Responde("127.0.0.1");
        abre();
        servidor({std::string(R"({"type":"welcome","version":1,"token":")") + Token + "\"}"});
        programa.Responde("Yo");
        servidor({DosMesas});
        enviados();
    }
    void enLaMesa(bool creador) {
        enLaLista();
        teclas({"ENTER"});
        servidor({MesaT1(creador, false, "Mesa creada")});
        enviados();
    }
    void jugando() {
        enLaMesa(true);
        servidor({MesaT1(true, true, "La partida empieza")});
        olvida();
        enviados();
    }
    bool oyo(const std::string& parte) const {
        auto d = dichos();
        return std::any_of(d.begin(), d.end(),
                           [&](const auto& t) { return t.find(parte) != std::string::npos; });
    }

    FakeConnection red;
};

TEST(ClienteEnLinea, SetupScreenOffersItAndTheAddressIsAskedAndChecked) {
    EnLinea b;
    const auto ayuda = AyudaEscrita(b.programa.Ayuda());
    EXPECT_NE(ayuda.find("F3: jugar en línea."), std::string::npos) << ayuda;
    b.teclas({"F3"});
    EXPECT_EQ(b.programa.pantalla(), Pantalla::EnLinea);
    ASSERT_NE(b.programa.Campo(), nullptr);
    EXPECT_EQ(b.programa.Campo()->Texto, "localhost:7531");
    b.programa.Responde("localhost:99999");
    EXPECT_TRUE(b.oyo("Esa dirección no es válida"));
    EXPECT_TRUE(b.red.openings.empty());
    b.programa.Responde("[::1]:8000");
    ASSERT_EQ(b.red.openings.size(), 1u);
    EXPECT_EQ(b.red.openings[0].host, "::1");
    EXPECT_EQ(b.red.openings[0].port, 8000);
    EXPECT_EQ(b.dicho(), "Conectando con [::1]:8000");
    // Escape while connecting goes back to the setup screen, the local game as it was.
    b.teclas({"ESC"});
    EXPECT_EQ(b.programa.pantalla(), Pantalla::Inicio);
    EXPECT_GE(b.red.closes, 1);
}

TEST(ClienteEnLinea, NetworkFaultsAreSaidInPlainWordsAndTheAddressAskedAgain) {
    const std::pair<ConnectionFault, const char*> casos[] = {
        {ConnectionFault::NoServer, "No se encuentra ningún servidor en la dirección localhost:7531."},
        {ConnectionFault::Refused, "rechaza la conexión"},
        {ConnectionFault::TimedOut, "no contesta"},
        {ConnectionFault::Certificate, "conexión segura"},
        {ConnectionFault::Protocol, "no hay un servidor de La fortuna de Veldrisa"},
    };
    for (const auto& [fallo, texto] : casos) {
        EnLinea b(OpcionesEnLinea{"localhost", ""});
        b.teclas({"F3"});
        ASSERT_EQ(b.red.openings.size(), 1u) << "--server connects without asking";
        b.red.fail(fallo);
        b.programa.Red();
        EXPECT_TRUE(b.oyo(texto)) << texto;
        EXPECT_EQ(b.programa.enLinea()->paso(), PasoEnLinea::Direccion);
        EXPECT_NE(b.programa.Campo(), nullptr);
    }
    // The server's version refusal closes, said in its words.
    EnLinea b(OpcionesEnLinea{"localhost", ""});
    b.teclas({"F3"});
    b.abre();
    b.servidor(
        {R"({"type":"error","reason":"version","text":"El servidor usa otra versión del protocolo."})"});
    EXPECT_TRUE(b.oyo("otra versión del protocolo"));
    EXPECT_EQ(b.programa.enLinea()->paso(), PasoEnLinea::Direccion);
}

TEST(ClienteEnLinea, SelfSignedCertificateIsConfirmedOnceAndAChangeRefused) {
    const auto archivo =
        std::filesystem::temp_directory_path() /
        ("veldrisa-huellas-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove(archivo);
    {
        EnLinea b(OpcionesEnLinea{"127.0.0.1", archivo.string()});
        b.teclas({"F3"});
        b.abre(false);
        EXPECT_TRUE(b.oyo("Su huella es: AAAA, AAAA, AAAA"));
        EXPECT_TRUE(b.red.takeSent().empty()) << "nothing is sent before the player confirms";
        b.teclas({"F7", "F5"});
        EXPECT_TRUE(b.red.takeSent().empty());
        b.teclas({"ENTER"});
        EXPECT_EQ(b.tipos(), std::vector<std::string>{"hello"});
    }
    {
        // Remembered: the next run pins it and is not asked again.
        EnLinea b(OpcionesEnLinea{"127.0.0.1", archivo.string()});
        b.teclas({"F3"});
        EXPECT_EQ(b.red.openings.at(0).pinned, Huella);
        b.abre(false);
        EXPECT_FALSE(b.oyo("Su huella es"));
        EXPECT_EQ(b.tipos(), std::vector<std::string>{"hello"});
    }
    {
        // Another certificate at the same address: a spoken warning, and nothing sent.
        EnLinea b(OpcionesEnLinea{"127.0.0.1", archivo.string()});
        b.teclas({"F3"});
        b.red.fail(ConnectionFault::Certificate, Otra);
        b.programa.Red();
        EXPECT_TRUE(
            b.oyo("¡Atención! El certificado del servidor 127.0.0.1:7531 no es el que usted confirmó"));
        EXPECT_TRUE(b.red.takeSent().empty());
        EXPECT_EQ(b.programa.enLinea()->paso(), PasoEnLinea::Direccion);
    }
    {
        // Refused by the player: nothing sent, nothing remembered.
        EnLinea b(OpcionesEnLinea{"otro", archivo.string()});
        b.teclas({"F3"});
        b.abre(false);
        b.teclas({"ESC"});
        EXPECT_TRUE(b.oyo("No se ha conectado."));
        EXPECT_TRUE(b.red.takeSent().empty());
    }
    {
        // A second server confirmed: the file is written again whole, both kept.
        EnLinea b(OpcionesEnLinea{"otro:9000", archivo.string()});
        b.teclas({"F3"});
        b.red.opened(Otra, false);
        b.programa.Red();
        b.teclas({"ENTER"});
    }
    {
        std::ifstream f(archivo);
        std::string contenido((std::istreambuf_iterator<char>(f)), {});
        EXPECT_EQ(contenido, "127.0.0.1:7531 " + Huella + "\notro:9000 " + Otra + "\n");
    }
    std::filesystem::remove(archivo);
}

TEST(ClienteEnLinea, HallListsTablesJoinsAndCreatesThem) {
    EnLinea b;
    b.enLaLista();
    EXPECT_TRUE(
        b.oyo("Hay 2 mesas. Mesa t1, pública, 1 jugador, 0 espectadores, 9 personajes libres, sin límite de "
              "tiempo"));
    b.teclas({"DOWN"});
    EXPECT_EQ(b.dicho(), "Mesa t2, privada, en juego, 3 jugadores, 2 espectadores, 60 segundos por elección");
    b.teclas({"ENTER"});
    EXPECT_EQ(b.dicho(), "Esa mesa ya está en juego: pulse E para mirarla.");
    // A private table asks for its code, which goes with the join.
    b.teclas({"E"});
    ASSERT_NE(b.programa.Campo(), nullptr);
    b.programa.Responde("clave1");
    auto j = b.enviados();
    ASSERT_EQ(j.size(), 1u);
    EXPECT_EQ(j[0],
              json::parse(R"({"type":"join","table":"t2","as":"spectator","name":"Yo","code":"clave1"})"));
    // A new private table with a time limit; a short code is asked again.
    b.teclas({"N", "RIGHT"});
    EXPECT_EQ(b.dicho(), "Privada");
    b.teclas({"ENTER"});
    b.programa.Responde("ab");
    EXPECT_TRUE(b.oyo("El código debe tener de 4 a 12 letras o cifras"));
    b.programa.Responde("abcd");
    b.teclas({"RIGHT", "RIGHT"});
    EXPECT_EQ(b.dicho(), "60 segundos por elección");
    b.teclas({"ENTER"});
    j = b.enviados();
    ASSERT_EQ(j.size(), 1u);
    EXPECT_EQ(
        j[0],
        json::parse(R"({"type":"create_table","name":"Yo","private":true,"code":"abcd","time_limit":60})"));
    // F1 names the hall's keys, and is no message of the game: F5 still repeats the last one.
    b.olvida();
    b.teclas({"F1", "F5"});
    const auto hablados = b.hablados();
    ASSERT_EQ(hablados.size(), 2u);
    EXPECT_NE(hablados[0].find("e mirar la mesa"), std::string::npos) << hablados[0];
    EXPECT_EQ(hablados[1], "60 segundos por elección");
    // R asks again; Escape leaves the game.
    b.teclas({"R"});
    EXPECT_EQ(b.tipos(), std::vector<std::string>{"list_tables"});
    b.teclas({"ESC"});
    EXPECT_TRUE(b.programa.Terminado());
}

TEST(ClienteEnLinea, AtATableCharactersAreClaimedRenamedAndTheCreatorStarts) {
    EnLinea b;
    b.enLaMesa(false);
    EXPECT_TRUE(
        b.oyo("Mesa creada. Está en la mesa t1. Elija sus personajes con las flechas y Espacio. P1, suyo"));
    auto vista = std::get<SetupView>(b.programa.enLinea()->Vista().screen);
    EXPECT_EQ(vista.names[1], "(Ana) P2");
    EXPECT_TRUE(vista.selected[0]);
    b.teclas({"SPACE"});
    EXPECT_EQ(b.enviados().at(0), json::parse(R"({"type":"release","character":1})"));
    b.teclas({"RIGHT"});
    EXPECT_EQ(b.dicho(), "P2, de Ana");
    b.teclas({"SPACE", "F2"});
    EXPECT_EQ(b.dicho(), "Sólo puede cambiar el nombre de sus personajes.");
    EXPECT_TRUE(b.oyo("Ese personaje ya lo controla Ana."));
    EXPECT_TRUE(b.enviados().empty());
    b.teclas({"RIGHT", "SPACE", "LEFT", "LEFT", "F2"});
    b.programa.Responde("Rosa");
    auto j = b.enviados();
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0], json::parse(R"({"type":"claim","character":3})"));
    EXPECT_EQ(j[1], json::parse(R"({"type":"rename","character":1,"name":"Rosa"})"));
    b.teclas({"ENTER"});
    EXPECT_EQ(b.dicho(), "La partida la empieza quien creó la mesa.");
    b.servidor({MesaT1(true, false, "Ana juega con P3")});
    EXPECT_EQ(b.dicho(), "Ana juega con P3");
    b.teclas({"ENTER"});
    EXPECT_EQ(b.tipos(), std::vector<std::string>{"start"});
    b.teclas({"ESC"});
    EXPECT_EQ(b.tipos(), (std::vector<std::string>{"leave", "list_tables"}));
    EXPECT_EQ(b.programa.enLinea()->paso(), PasoEnLinea::Lista);
}

TEST(ClienteEnLinea, PlayGoesThroughTheVoiceSoundsAndLogAndVoiceKeysStayHere) {
    EnLinea b;
    b.jugando();
    b.servidor({R"({"type":"say","text":"Los actuales aspirantes","before":true,"after":false})",
                R"({"type":"say","text":"Yo, es su turno","before":false,"after":true})",
                R"({"type":"sound","player":1,"op":"play"})", R"({"type":"sound","player":3,"op":"stop"})",
                R"({"type":"log","text":"Yo: 2 cartas"})", R"({"type":"beep"})"});
    const auto dichos = b.eventos(EventKind::Said);
    ASSERT_EQ(dichos.size(), 2u);
    EXPECT_EQ(dichos[0], Event::said("Los actuales aspirantes", true, false));
    EXPECT_EQ(dichos[1], Event::said("Yo, es su turno", false, true));
    EXPECT_EQ(b.eventos(EventKind::SoundPlay).at(0).number, 1);
    EXPECT_EQ(b.eventos(EventKind::SoundStop).at(0).number, 3);
    EXPECT_EQ(b.pitidos(), 1);
    EXPECT_EQ(std::get<LogView>(b.programa.enLinea()->Vista().screen).text, "Yo: 2 cartas");
    // The voice, the history and the sounds' level never leave the client.
    b.olvida();
    b.teclas({"F5", "F7", "F8", "F9", "F10", "CTRL", "F11", "F12", "A", "ENTER"});
    for (int t : {Tecla::RePag, Tecla::AvPag, Tecla::Inicio, Tecla::Fin}) b.tecla(t);
    EXPECT_TRUE(b.red.takeSent().empty());
    EXPECT_EQ(b.hablados().front(), "yo, es su turno") << "F5 repeats the server's last message";
    // The game's keys go to the server, Control with a digit too; F1 is the server's in play.
    b.teclas({"SPACE", "3", "KP7", "CTRL+2", "C", "P", "H", "F1", "F2", "F6"});
    std::vector<std::string> teclas;
    for (const auto& j : b.enviados())
        teclas.push_back(j["key"].get<std::string>() + (j.value("control", false) ? "+ctrl" : ""));
    EXPECT_EQ(teclas,
              (std::vector<std::string>{"SPACE", "3", "7", "2+ctrl", "C", "P", "H", "F1", "F2", "F6"}));
}

TEST(ClienteEnLinea, ALostConnectionIsSaidRetriedAndTheMissedMessagesKeptUnspoken) {
    EnLinea b;
    b.jugando();
    b.servidor({R"({"type":"say","text":"Antes del corte","before":false,"after":false})"});
    b.red.fail(ConnectionFault::Lost);
    b.programa.Red();
    EXPECT_EQ(b.dicho(), "Conexión perdida, reintentando");
    ASSERT_EQ(b.red.openings.size(), 2u);
    EXPECT_GT(b.red.openings[1].delay.count(), 0);
    // Refused while the server is down: tried again, later each time, without a word.
    b.olvida();
    b.red.fail(ConnectionFault::Refused);
    b.programa.Red();
    b.red.fail(ConnectionFault::Refused);
    b.programa.Red();
    ASSERT_EQ(b.red.openings.size(), 4u);
    EXPECT_GT(b.red.openings[3].delay, b.red.openings[2].delay);
    EXPECT_TRUE(b.dichos().empty());
    b.abre();
    auto hola = b.enviados();
    ASSERT_EQ(hola.size(), 1u);
    EXPECT_EQ(hola[0]["token"], Token);
    EXPECT_EQ(hola[0]["seen"], 1) << "the one game message received before the cut";
    b.servidor({std::string(R"({"type":"welcome","version":1,"token":")") + Token + "\"}",
                R"({"type":"history","messages":["Perdido uno","Perdido dos"],)"
                R"("missed":[{"type":"say","text":"Perdido uno","before":false,"after":false},)"
                R"({"type":"log","text":"El log de ahora"},{"type":"sound","player":2,"op":"play"},)"
                R"({"type":"say","text":"Perdido dos","before":false,"after":false}],)"
                R"("summary":"Ha vuelto a la partida. Es el turno de Ana."})"});
    EXPECT_EQ(b.dichos(), std::vector<std::string>{"Ha vuelto a la partida. Es el turno de Ana."});
    EXPECT_EQ(b.programa.enLinea()->paso(), PasoEnLinea::Juego);
    EXPECT_EQ(std::get<LogView>(b.programa.enLinea()->Vista().screen).text, "El log de ahora");
    EXPECT_EQ(b.eventos(EventKind::SoundPlay).at(0).number, 2);
    b.olvida();
    b.tecla(Tecla::RePag);
    EXPECT_EQ(b.hablados().back(), "perdido dos");
    b.tecla(Tecla::RePag);
    EXPECT_EQ(b.hablados().back(), "perdido uno");
    b.teclas({"F5"});
    EXPECT_EQ(b.hablados().back(), "perdido dos") << "F5 repeats the game's last message, not the summary";
    b.teclas({"SPACE"});
    EXPECT_EQ(b.tipos(), std::vector<std::string>{"key"});
    // A seat the server no longer knows: said, and a fresh start in the hall.
    b.red.fail(ConnectionFault::Lost);
    b.programa.Red();
    b.abre();
    EXPECT_EQ(b.enviados().at(0)["seen"], 5) << "what came before, and all the history held";
    b.servidor({R"({"type":"error","reason":"token","text":"La sesión ha caducado."})"});
    EXPECT_TRUE(b.oyo("Ha perdido su sitio en la mesa."));
    auto nuevo = b.enviados();
    ASSERT_EQ(nuevo.size(), 1u);
    EXPECT_FALSE(nuevo[0].contains("token"));
}

TEST(ClienteEnLinea, BackWithNothingMissedF5StillRepeatsTheQuestionAskedBeforeTheCut) {
    EnLinea b;
    b.jugando();
    b.servidor({R"({"type":"say","text":"Elija una habitación","before":false,"after":false})"});
    b.red.fail(ConnectionFault::Lost);
    b.programa.Red();
    b.abre();
    b.servidor({std::string(R"({"type":"welcome","version":1,"token":")") + Token + "\"}",
                R"({"type":"history","messages":[],"missed":[],"summary":"Ha vuelto a la partida."})"});
    EXPECT_TRUE(b.oyo("Ha vuelto a la partida."));
    b.olvida();
    b.teclas({"F5"});
    EXPECT_EQ(b.hablados().back(), "elija una habitación");
}

TEST(ClienteEnLinea, ATableNotStartedWaitsForItsPlayerThenItsPlaceIsLostOrTheServer) {
    EnLinea b;
    b.enLaMesa(true);
    b.red.closedByServer();
    b.programa.Red();
    EXPECT_EQ(b.dicho(), "Conexión perdida, reintentando");
    b.abre();
    auto hola = b.enviados();
    ASSERT_EQ(hola.size(), 1u);
    EXPECT_EQ(hola[0]["token"], Token) << "a table not started keeps its players' places too";
    b.servidor(
        {std::string(R"({"type":"welcome","version":1,"token":")") + Token + "\"}", MesaT1(true, false)});
    EXPECT_EQ(b.programa.enLinea()->paso(), PasoEnLinea::Mesa);
    EXPECT_TRUE(b.oyo("Está en la mesa t1.")) << b.dicho();
    EXPECT_TRUE(b.enviados().empty());
    // Away past the wait: the place is gone, said, and the hall.
    b.red.closedByServer();
    b.programa.Red();
    b.abre();
    EXPECT_EQ(b.enviados().at(0)["token"], Token);
    b.servidor({R"({"type":"error","reason":"token","text":"La sesión ha caducado."})"});
    EXPECT_TRUE(b.oyo("Ha perdido su sitio en la mesa."));
    EXPECT_EQ(b.tipos(), std::vector<std::string>{"hello"});
    b.servidor({R"({"type":"welcome","version":1,"token":"ffffffffffffffffffffffffffffffff"})"});
    EXPECT_EQ(b.tipos(), std::vector<std::string>{"list_tables"});
    EXPECT_EQ(b.programa.enLinea()->paso(), PasoEnLinea::Lista);
    // A server that never comes back: after the tries, said, and the address asked again.
    b.red.fail(ConnectionFault::Lost);
    b.programa.Red();
    for (int i = 0; i < 40 && b.programa.enLinea()->paso() == PasoEnLinea::Reconectando; ++i) {
        b.red.fail(ConnectionFault::Refused);
        b.programa.Red();
    }
    EXPECT_TRUE(b.oyo("No se ha podido volver a conectar. El servidor 127.0.0.1:7531 rechaza la conexión"));
    EXPECT_EQ(b.programa.enLinea()->paso(), PasoEnLinea::Direccion);
}

TEST(ClienteEnLinea, SpectatorsKeysStayHereAndMalformedMessagesAreIgnored) {
    EnLinea b;
    b.enLaLista();
    b.teclas({"E"});
    json m = json::parse(MesaT1(false, true));
    m["spectator"] = true;
    b.servidor(
        {m.dump(), "not json", R"({"type":"sound","player":9,"op":"play"})", R"({"type":"say"})", "[]"});
    EXPECT_TRUE(b.eventos(EventKind::SoundPlay).empty());
    b.red.takeSent();
    b.teclas({"SPACE", "3", "F1"});
    EXPECT_TRUE(b.red.takeSent().empty());
    EXPECT_TRUE(b.oyo("Quien mira la mesa sólo escucha."));
}

TEST(DireccionServidor, NamesPortsAndIpv6) {
    EXPECT_EQ(LeeDireccion(" ejemplo.org ")->Texto(), "ejemplo.org:7531");
    EXPECT_EQ(LeeDireccion("10.0.0.1:80")->puerto, 80);
    EXPECT_EQ(LeeDireccion("[::1]")->Texto(), "[::1]:7531");
    for (const char* mala : {"", ":80", "a b", "host:0", "host:65536", "host:8x", "[::1", "::1", "host:80:1"})
        EXPECT_FALSE(LeeDireccion(mala)) << mala;
}

}  // namespace
}  // namespace veldrisa
