// Scenes for the game tests: a game window just opened, and a night ready to resolve.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/recording/banco.hpp"
#include "table/form1.hpp"

namespace veldrisa::prueba {

inline const std::string SalaNombre[5] = {"", "El salón", "La cocina", "La biblioteca", "El dormitorio"};

// The whole program with its game window open on the first status report (Fase 1);
// `jugadores` are the characters given to players. Everything recorded so far is forgotten.
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
    Personaje& actual() { return f().Actual(); }
    const std::string& nombre(int i) { return personaje(i).Nombre; }

    // Runs `hacer` once, the first time Habla is given a text starting with `inicio`;
    // every event is still recorded.
    void alDecir(std::string inicio, std::function<void()> hacer) {
        recorder.listener = [this, inicio = std::move(inicio), hacer = std::move(hacer),
                             hecho = false](const Event& e) mutable {
            recorder.events.push_back(e);
            if (!hecho && e.kind == EventKind::Said && e.text.starts_with(inicio)) {
                hecho = true;
                hacer();
            }
        };
    }

    // The first text said that starts with `inicio`, or "" when none was.
    std::string dichoQueEmpieza(const std::string& inicio) const {
        for (const auto& t : dichos())
            if (t.starts_with(inicio)) return t;
        return "";
    }

    // Rebuilds every room's occupant list from the characters' rooms, in index order.
    void ocupantesSegunSalas() {
        for (int s = 1; s <= 4; ++s) mesa().OcupantesSala[s].clear();
        for (int i = 1; i <= 10; ++i)
            if (P(i).Sala >= 1) mesa().OcupantesSala[P(i).Sala] += EntradaOcupante(i);
    }

    // The room phase has just ended: the characters of `orden` are alive and arrived in
    // that order, in the rooms given (the salón otherwise); everybody else is dead.
    void salasHechas(const std::vector<int>& orden, const std::map<int, int>& salas = {}) {
        Mesa& m = mesa();
        for (int i = 1; i <= 10; ++i) {
            P(i).Vivo = false;
            P(i).Sala = SinSala;
        }
        for (int s = 1; s <= 4; ++s) m.OcupantesSala[s].clear();
        m.OrdenDia.clear();
        for (int c : orden) {
            P(c).Vivo = true;
            P(c).Sala = salas.contains(c) ? salas.at(c) : 1;
            m.OcupantesSala[P(c).Sala] += EntradaOcupante(c);
            m.OrdenDia.push_back(static_cast<std::int16_t>(c));
        }
        m.Turno = static_cast<std::int16_t>(orden.size());
        m.Fase = Fases::Salas;
    }
    void mano(int i, int c1, int c2) {
        P(i).Carta1 = static_cast<std::int16_t>(c1);
        P(i).Carta2 = static_cast<std::int16_t>(c2);
    }

    // Moves `carta` into i's first slot, swapping it with whatever was there, so that
    // every card stays in exactly one place.
    void pon(int i, int carta) {
        std::int16_t& destino = P(i).Carta1;
        auto cambia = [&](std::int16_t& origen) {
            if (origen != carta) return false;
            std::swap(origen, destino);
            return true;
        };
        for (int k = 0; k <= 10; ++k)
            if (cambia(P(k).Carta1) || cambia(P(k).Carta2)) return;
        for (int k = 1; k <= NumCartas; ++k)
            if (cambia(mesa().Mazo[k])) return;
    }
};

// A night about to be resolved, on a real first deal: the line of succession is 1..10
// with character 1 the heir, everybody is in the salón (`sala` moves them), and every
// living character throws away its first card unless `juega` says otherwise.
struct Noche : Partida {
    explicit Noche(const std::vector<int>& jugadores = {}) : Partida(jugadores) {
        Mesa& m = mesa();
        for (int i = 1; i <= 10; ++i) {
            m.LineaSucesion[i] = static_cast<std::int16_t>(i);
            P(i).Sala = 1;
            juega(i, P(i).Carta1, 0, true);
        }
        m.Heredero = 1;
        m.OrdenDia = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        m.Turno = 10;
        m.Fase = Fases::Resolucion;
        ocupantesSegunSalas();
    }

    void sala(int i, int s) {
        P(i).Sala = s;
        ocupantesSegunSalas();
    }
    // i plays `carta` (moved into its first slot) against `objetivo`.
    void juega(int i, int carta, int objetivo = 0, bool descarta = false) {
        pon(i, carta);
        P(i).CartaElegida = 1;
        P(i).Descarta = descarta;
        P(i).Objetivo = static_cast<std::int16_t>(objetivo);
    }
    // i died on an earlier day: its played card went back to the deck, it has no room today.
    void muerto(int i) {
        Personaje& p = P(i);
        p.Vivo = false;
        for (int k = 1; k <= NumCartas; ++k)
            if (mesa().Mazo[k] == 0) {
                mesa().Mazo[k] = p.Carta2;
                break;
            }
        p.Carta2 = 0;
        p.CartaElegida = 0;
        p.Sala = SinSala;
        std::erase(mesa().OrdenDia, static_cast<std::int16_t>(i));
        ocupantesSegunSalas();
    }
    void resuelve() { ResuelveDia(f()); }
    // The executor's morning news, or "" when none was spoken.
    std::string noticias() const {
        std::string largo = dichoQueEmpieza("Un nuevo día");
        return largo.empty() ? dichoQueEmpieza("Mister John Doberman") : largo;
    }
    std::vector<int> vivos() {
        std::vector<int> v;
        for (int i = 1; i <= 10; ++i)
            if (P(i).Vivo) v.push_back(i);
        return v;
    }
};

}  // namespace veldrisa::prueba
