// Scenes for the game tests: a game window just opened, a day's rooms chosen, a night ready to resolve.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/banco.hpp"
#include "play/resuelve_dia.hpp"
#include "ports/keys.hpp"
#include "table/form1.hpp"
#include "table/ocupantes.hpp"

namespace veldrisa::prueba {

// The program with its game window open on the first status report, `jugadores` given to
// players; what was recorded until then is forgotten.
struct Partida : Banco {
    explicit Partida(const std::vector<int>& jugadores = {}, std::uint32_t semilla = 1)
        : Banco(RecordingOptions{.seed = semilla}) {
        EXPECT_TRUE(programa.Inicia());
        for (int i : jugadores) personaje(i).Controlado = true;
        teclas({"ENTER"});
        olvida();
    }

    Form1& f() { return programa.form1; }
    Personaje& P(int i) { return personaje(i); }
    const std::string& nombre(int i) { return personaje(i).Nombre; }
    void mano(int i, int c1, int c2) {
        P(i).Carta1 = static_cast<std::int16_t>(c1);
        P(i).Carta2 = static_cast<std::int16_t>(c2);
    }

    // Runs `hacer` the first time Habla is given a text starting with `inicio`.
    void alDecir(std::string inicio, std::function<void()> hacer) {
        recorder.listener = [this, inicio, hacer, hecho = false](const Event& e) mutable {
            recorder.events.push_back(e);
            if (!hecho && e.kind == EventKind::Said && e.text.starts_with(inicio)) hacer(), hecho = true;
        };
    }
    // The first text said that starts with `inicio`, or "".
    std::string dichoQueEmpieza(const std::string& inicio) const {
        for (const auto& t : dichos())
            if (t.starts_with(inicio)) return t;
        return "";
    }

    void ocupantesSegunSalas() {
        for (int s = 1; s <= 4; ++s) mesa().OcupantesSala[s].clear();
        for (int i : mesa().OrdenDia) mesa().OcupantesSala[P(i).Sala] += EntradaOcupante(i);
    }
    // The room phase has just ended: the characters of `orden` are alive and chose in that
    // order, in the rooms given (the salón otherwise); everybody else is dead.
    void salasHechas(const std::vector<int>& orden, const std::map<int, int>& salas = {}) {
        mesa().OrdenDia.assign(orden.begin(), orden.end());
        for (int i = 1; i <= 10; ++i) P(i).Vivo = false, P(i).Sala = SinSala;
        for (int c : orden) P(c).Vivo = true, P(c).Sala = salas.contains(c) ? salas.at(c) : 1;
        ocupantesSegunSalas();
        mesa().Turno = static_cast<std::int16_t>(orden.size());
        mesa().Fase = Fases::Salas;
    }

    // Moves `carta` into i's first slot from wherever it is, so that it stays in one place.
    void pon(int i, int carta) {
        std::vector<std::int16_t*> sitios;
        for (int k = 0; k <= 10; ++k) sitios.insert(sitios.end(), {&P(k).Carta1, &P(k).Carta2});
        for (int k = 1; k <= NumCartas; ++k) sitios.push_back(&mesa().Mazo[k]);
        for (auto* s : sitios)
            if (*s == carta) return std::swap(*s, P(i).Carta1);
    }
};

// A night about to be resolved after a real first deal: all alive in the salón, the line of
// succession 1..10 with character 1 the heir, and everybody throwing away its first card.
struct Noche : Partida {
    explicit Noche(const std::vector<int>& jugadores = {}) : Partida(jugadores) {
        salasHechas({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        for (int i = 1; i <= 10; ++i)
            mesa().LineaSucesion[i] = static_cast<std::int16_t>(i), juega(i, P(i).Carta1, 0, true);
        mesa().Heredero = 1;
        mesa().Fase = Fases::Resolucion;
    }

    void sala(int i, int s) { P(i).Sala = s, ocupantesSegunSalas(); }
    void juega(int i, int carta, int objetivo = 0, bool descarta = false) {
        pon(i, carta);
        P(i).CartaElegida = 1, P(i).Descarta = descarta, P(i).Objetivo = static_cast<std::int16_t>(objetivo);
    }
    // Died on an earlier day: its played card went back to the deck and it chose no room.
    void muerto(int i) {
        *std::find(&mesa().Mazo[1], &mesa().Mazo[NumCartas] + 1, 0) = P(i).Carta2;
        P(i).Vivo = false, P(i).Carta2 = 0, P(i).CartaElegida = 0, P(i).Sala = SinSala;
        std::erase(mesa().OrdenDia, static_cast<std::int16_t>(i));
        ocupantesSegunSalas();
    }
    void resuelve() { ResuelveDia(f()); }
    std::string noticias() const {
        std::string largo = dichoQueEmpieza("Un nuevo día");
        return largo.empty() ? dichoQueEmpieza("Mister John Doberman") : largo;
    }
    int vivos() {
        int n = 0;
        for (int i = 1; i <= 10; ++i) n += P(i).Vivo;
        return n;
    }
};

}  // namespace veldrisa::prueba
