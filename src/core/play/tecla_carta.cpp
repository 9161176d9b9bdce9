// The card key: the card chosen, and the targets it can be used against.
#include "play/tecla_carta.hpp"

#include "play/fase_cartas.hpp"
#include "ports/keys.hpp"
#include "table/ocupantes.hpp"

namespace veldrisa {
namespace {

// Fills Objetivos with every other living character, or only those in the room for a strong attack.
void BuscaObjetivos(Form1& f, const Personaje& c, bool soloEnSala) {
    Mesa& m = f.mesa;
    m.Objetivos = {};
    int n = 0;
    for (int i = 1; i <= NumPersonajes; ++i) {
        if (i == c.Indice || !f.P(i).Vivo) continue;
        if (soloEnSala && m.OcupantesSala[c.Sala].find(EntradaOcupante(i)) == std::string::npos) continue;
        m.Objetivos[++n] = static_cast<std::int16_t>(i);
    }
    m.NumObjetivos = 0;
}

}  // namespace

void DiObjetivos(Form1& f) {
    Mesa& m = f.mesa;
    std::string texto = " Indique con qué heredero desea usar esa carta: ";
    for (int k = 1; k <= NumPersonajes && m.Objetivos[k] >= 1; ++k) {
        texto += std::to_string(k) + ". " + f.P(m.Objetivos[k]).Nombre + ", ";
        m.NumObjetivos = static_cast<std::int16_t>(k);
    }
    f.HablaA(f.Actual().Indice, texto);
}

void TeclaCarta(Form1& f, int d, int modificadores) {
    Personaje& c = f.Actual();
    c.Descarta = false;
    c.Objetivo = 0;
    c.CartaElegida = static_cast<std::int16_t>(d);
    if (modificadores & ModControl) c.Descarta = true;
    const Carta& carta = CartaNumero(f.mesa, d == 1 ? c.Carta1 : c.Carta2);
    // A discarded card never asks for a target.
    if (c.Descarta) {
        FaseCartas(f, false);
        return;
    }
    bool soloEnSala = false;
    switch (carta.Tipo) {
    case TipoCarta::CambioCarta:
    case TipoCarta::AtaqueDebil: break;
    case TipoCarta::AtaqueFuerte:
        // A strong attack played away from its own room is accepted silently, against nobody.
        if (carta.Sala != c.Sala) {
            FaseCartas(f, false);
            return;
        }
        soloEnSala = true;
        break;
    default: FaseCartas(f, false); return;
    }
    f.HablaA(c.Indice, "Elija el jugador con el que va a realizar la acción");
    BuscaObjetivos(f, c, soloEnSala);
    if (f.mesa.Objetivos[1] == 0) {
        f.HablaA(c.Indice,
                 "No hay ningún heredero  con el que pueda usar esa carta. Pulse espacio para continuar.");
        FaseCartas(f, false);
        return;
    }
    DiObjetivos(f);
    f.mesa.Fase = Fases::Objetivo;
}

}  // namespace veldrisa
