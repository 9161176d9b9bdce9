// An online table's seats: what each one receives of a whole day, and what it never does.
#include <gtest/gtest.h>

#include <algorithm>

#include "audience/seat_filter.hpp"
#include "play/despachador.hpp"
#include "play/relevo.hpp"
#include "ports/keys.hpp"
#include "support/banco.hpp"

namespace veldrisa {
namespace {

Seat Of(std::initializer_list<int> characters) {
    Seat seat;
    for (int c : characters) seat.set(static_cast<std::size_t>(c));
    return seat;
}

// The program with every event passed through each seat's filter, as the server sends them.
struct Asientos : Banco {
    explicit Asientos(std::vector<Seat> s, std::uint32_t seed = 1)
        : Banco(Options(seed)), seats(std::move(s)) {
        for (const Seat& seat : seats) filters.emplace_back(seat);
        streams.resize(seats.size());
        recorder.listener = [this](const Event& e) {
            for (std::size_t i = 0; i < filters.size(); ++i)
                if (auto seen = filters[i].pass(e)) streams[i].push_back(*seen);
        };
        programa.Inicia();
    }
    static RecordingOptions Options(std::uint32_t seed) {
        RecordingOptions o;
        o.seed = seed;
        return o;
    }

    // The players of the seats take their characters on the setup screen, and the game opens.
    void empieza() {
        for (int c = 1; c <= NumPersonajes; ++c) {
            if (std::any_of(seats.begin(), seats.end(), [c](const Seat& s) { return s[c]; }))
                teclas({"SPACE"});
            teclas({"RIGHT"});
        }
        teclas({"ENTER"});
    }
    // A key pressed by one seat's player.
    void pulsa(std::size_t seat, int code, int mask = 0) {
        for (SeatFilter& f : filters) f.pressedBy(seats[seat]);
        programa.Tecla(code, mask);
        for (SeatFilter& f : filters) f.pressedBy(std::nullopt);
    }
    std::size_t asientoDe(int character) const {
        for (std::size_t i = 0; i < seats.size(); ++i)
            if (seats[i][static_cast<std::size_t>(character)]) return i;
        throw std::logic_error("nobody controls that character");
    }
    // Every awaited choice of the day's current phase made by its seat: choose(character) gives the key.
    template <typename Elige>
    void eligen(Elige choose) {
        while (EsperaEleccion(programa.form1)) {
            const int c = programa.form1.Actual().Indice;
            const KeyEvent k = choose(c);
            pulsa(asientoDe(c), k.code, k.mask);
        }
    }
    std::vector<std::string> dichosDe(std::size_t seat) const {
        std::vector<std::string> out;
        for (const Event& e : streams[seat])
            if (e.kind == EventKind::Said) out.push_back(e.text);
        return out;
    }
    bool oyo(std::size_t seat, std::string_view fragment) const {
        const auto said = dichosDe(seat);
        return std::any_of(said.begin(), said.end(),
                           [&](const std::string& s) { return s.find(fragment) != std::string::npos; });
    }

    std::vector<Seat> seats;
    std::vector<SeatFilter> filters;
    std::vector<std::vector<Event>> streams;
};

KeyEvent Digit(int d, int mask = 0) { return {Tecla::Digito(d), mask}; }

// Seats 0 and 1 play characters 3 and 7; seat 2 watches. Character 7 goes to room `room7` and
// throws away card `card7`; character 3 always goes to the dormitorio and throws away its first card.
void DiaHastaLaNoche(Asientos& t, int room7, int card7) {
    t.empieza();
    t.pulsa(0, Tecla::Espacio);
    t.eligen([&](int c) { return Digit(c == 7 ? room7 : 4); });
    t.pulsa(0, Tecla::Espacio);
    t.eligen([&](int c) { return Digit(c == 7 ? card7 : 1, ModControl); });
}

TEST(Asientos, OneSeatsPrivateChoicesLeaveTheOthersStreamsAloneUntilTheNight) {
    Asientos a({Of({3}), Of({7}), Seat{}}), b({Of({3}), Of({7}), Seat{}});
    DiaHastaLaNoche(a, 1, 1);
    DiaHastaLaNoche(b, 2, 2);
    EXPECT_EQ(a.streams[0], b.streams[0]);
    EXPECT_EQ(a.streams[2], b.streams[2]);
    EXPECT_EQ(a.filters[0].log(a.mesa().PiezasLog), b.filters[0].log(b.mesa().PiezasLog));
    // The choices did differ, and their own seat heard the difference.
    EXPECT_NE(a.streams[1], b.streams[1]);
    EXPECT_NE(a.mesa().Label1, b.mesa().Label1);
}

TEST(Asientos, NobodyHearsAnotherCharactersCardsOrPromptsButEveryoneHearsWhoseTurnItIs) {
    Asientos t({Of({3}), Of({7}), Seat{}});
    DiaHastaLaNoche(t, 1, 1);
    const std::string nombre3 = t.personaje(3).Nombre, nombre7 = t.personaje(7).Nombre;
    EXPECT_TRUE(t.oyo(0, nombre3 + ", es su turno de jugar. Sus cartas son"));
    EXPECT_FALSE(t.oyo(0, nombre7 + ", es su turno"));
    EXPECT_TRUE(t.oyo(0, "Turno de " + nombre7));
    EXPECT_FALSE(t.oyo(0, "Turno de " + nombre3));
    EXPECT_FALSE(t.oyo(2, "es su turno"));
    EXPECT_FALSE(t.oyo(2, "Sus cartas son"));
    EXPECT_TRUE(t.oyo(2, "Turno de " + nombre3));
    EXPECT_TRUE(t.oyo(2, "cartas seleccionadas"));
    // The room sounds of a player's turn say where that player is; the fire of the report is everyone's.
    for (const Event& e : t.streams[2])
        EXPECT_FALSE(e.kind == EventKind::SoundPlay && e.number != 1) << "a spectator heard " << e;
    // Only what a player perceives reaches a seat: not even the engine's copy of a private text.
    for (const auto& stream : t.streams)
        for (const Event& e : stream) EXPECT_NE(e.kind, EventKind::Spoke);
}

TEST(Asientos, EachSeatsLogShowsItsOwnHandRoomAndCardAndOnlyNamesOfTheOthers) {
    Asientos t({Of({3}), Seat{}});
    t.empieza();
    const Mesa& m = t.mesa();
    const std::string propio = t.filters[0].log(m.PiezasLog), publico = t.filters[1].log(m.PiezasLog);
    const std::string mano3 = "- " + std::string(CartaNumero(m, t.personaje(3).Carta1).TextoEnInforme());
    EXPECT_NE(propio.find(mano3), std::string::npos) << propio;
    EXPECT_EQ(publico.find("- "), std::string::npos) << publico;
    EXPECT_EQ(publico.find("Verdadero"), std::string::npos) << publico;
    for (int c = 1; c <= NumPersonajes; ++c)
        EXPECT_NE(publico.find(t.personaje(c).Nombre + "\r\n"), std::string::npos);

    t.pulsa(0, Tecla::Espacio);
    t.eligen([](int) { return Digit(2); });
    EXPECT_EQ(t.filters[0].log(m.PiezasLog), "El salón\r\n\r\nLa cocina\r\n" + t.personaje(3).Nombre +
                                                 "; \r\nLa biblioteca\r\n\r\nEl dormitorio\r\n\r\n");
    t.pulsa(0, Tecla::Espacio);
    t.eligen([](int) { return Digit(1, ModControl); });
    EXPECT_EQ(t.filters[1].log(m.PiezasLog), "Carttas seleccionadas \r\n");
    const std::string cartas = t.filters[0].log(m.PiezasLog);
    EXPECT_TRUE(cartas.starts_with("Carttas seleccionadas \r\n" + t.personaje(3).Nombre + "(En La cocina"))
        << cartas;
    EXPECT_EQ(std::count(cartas.begin(), cartas.end(), '\n'), 2);
}

TEST(Asientos, TheAnswerToAKeyGoesToTheSeatThatPressedIt) {
    Asientos t({Of({3}), Of({7}), Seat{}});
    t.empieza();
    t.pulsa(1, Tecla::H);
    t.pulsa(1, Tecla::Digito(5));  // no digit works on the report
    EXPECT_TRUE(t.oyo(1, "El heredero actual es"));
    EXPECT_FALSE(t.oyo(0, "El heredero actual es"));
    EXPECT_FALSE(t.oyo(2, "El heredero actual es"));
    auto pitidos = [&t](std::size_t seat) {
        return std::count_if(t.streams[seat].begin(), t.streams[seat].end(),
                             [](const Event& e) { return e.kind == EventKind::Beep; });
    };
    EXPECT_EQ(pitidos(1), 1);
    EXPECT_EQ(pitidos(0) + pitidos(2), 0);
}

TEST(Asientos, ASeatNotBeingAskedHearsOnlyItsOwnCharactersInformation) {
    Asientos t({Of({3, 5}), Of({7})});
    t.empieza();
    t.pulsa(0, Tecla::Espacio);
    // Whoever is asked first, the other seat asks for the cards of one of its own characters.
    const int asked = t.programa.form1.Actual().Indice;
    const std::size_t other = asked == 7 ? 0 : 1;
    const int own = other == 0 ? 5 : 7;
    const auto before = t.streams[1 - other].size();
    TeclaInformativaDe(t.programa.form1, own, Tecla::C);
    EXPECT_EQ(t.dichosDe(other).back().rfind("Sus cartas son: 1. ", 0), 0u);
    EXPECT_EQ(t.streams[1 - other].size(), before);
    EXPECT_EQ(t.programa.form1.Actual().Indice, asked);
}

TEST(Asientos, ATimeOutIsHeardByEveryoneAndTheComputerChoosesInThePlayersPlace) {
    Asientos t({Of({3}), Seat{}});
    t.empieza();
    t.pulsa(0, Tecla::Espacio);
    const auto mano = std::pair(t.personaje(3).Carta1, t.personaje(3).Carta2);
    ASSERT_TRUE(EligePorTiempo(t.programa.form1));
    EXPECT_TRUE(t.oyo(1, "El tiempo se ha agotado: el ordenador elige por " + t.personaje(3).Nombre));
    EXPECT_GE(t.personaje(3).Sala, 1);
    EXPECT_EQ(std::pair(t.personaje(3).Carta1, t.personaje(3).Carta2), mano);
    EXPECT_FALSE(EsperaEleccion(t.programa.form1));
    EXPECT_FALSE(EligePorTiempo(t.programa.form1));
    EXPECT_TRUE(t.personaje(3).Controlado);
}

TEST(Asientos, ACharacterHandedToTheComputerMidChoiceIsChosenForOnceAndTheDayGoesOn) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        Asientos t({Of({3})}, seed);
        t.empieza();
        t.pulsa(0, Tecla::Espacio);
        t.eligen([](int) { return Digit(1); });
        t.pulsa(0, Tecla::Espacio);
        ASSERT_TRUE(EsperaEleccion(t.programa.form1));
        CedeAComputadora(t.programa.form1, 3);
        EXPECT_FALSE(t.personaje(3).Controlado);
        EXPECT_FALSE(EsperaEleccion(t.programa.form1));
        EXPECT_GE(t.personaje(3).CartaElegida, 1);
        // The card phase ended exactly once, with every living character's line in the log.
        EXPECT_EQ(std::count(t.mesa().Label1.begin(), t.mesa().Label1.end(), '\n'),
                  t.programa.form1.Turnos() + 1)
            << seed;
        ASSERT_FALSE(t.dichosDe(0).empty());
        EXPECT_EQ(t.dichosDe(0).back(), "cartas seleccionadas. Pulse espacio para continuar");
        RecuperaPersonaje(t.programa.form1, 3);
        EXPECT_TRUE(t.personaje(3).Controlado);
    }
}

TEST(SeatList, ReadsDistinctCharactersOneToTen) {
    EXPECT_EQ(ParseSeat("3,7"), Of({3, 7}));
    EXPECT_EQ(ParseSeat("10"), Of({10}));
    for (const char* bad : {"", "0", "11", "3,3", "3,", ",3", "3 ,7", "03", "+3", "-3", "3;7", "x"})
        EXPECT_EQ(ParseSeat(bad), std::nullopt) << bad;
}

}  // namespace
}  // namespace veldrisa
