// InformeAspirantes: the status report that opens every day.
#include "cards/informe.hpp"

#include "cards/mazo.hpp"
#include "common/texto.hpp"
#include "table/sonidos.hpp"

namespace veldrisa {
namespace {

void ReparteCartas(Form1& f) {
    for (int k = 1; k <= NumPersonajes; ++k) {
        Personaje& p = f.P(k);
        if (!p.Vivo) continue;
        // Each living character takes the slot of its own index, not the top card.
        (p.Carta1 == 0 ? p.Carta1 : p.Carta2) = f.mesa.Mazo[k];
        f.mesa.Mazo[k] = 0;
    }
}

void AgregaLineaCarta(Mesa& m, int dueno, int carta) {
    AgregaLog(m, dueno, "- ", CartaNumero(m, carta).TextoEnInforme(), "\r\n");
}

}  // namespace

void InformeAspirantes(Form1& f) {
    Mesa& m = f.mesa;
    SuenaFuego(f);
    m.Fase = Fases::Informe;
    for (int s = 1; s <= 4; ++s) m.OcupantesSala[s].clear();
    for (int i = 1; i <= NumPersonajes; ++i) {
        f.P(i).Sala = SinSala;
        f.P(i).CartaElegida = 0;
    }
    ReparteCartas(f);
    BarajaMazo(m, f.rnd);
    CompactaMazo(m);

    LimpiaLog(m);
    std::string aviso;
    aviso.reserve(512);  // room for the ten names of the roster, so the list is not moved as it grows
    Agrega(aviso, "Los actuales aspirantes a la fortuna de Veldrisa son: ");
    bool hayVivos = false;
    for (int i = 1; i <= NumPersonajes; ++i) {
        const Personaje& p = f.P(i);
        // Everyone reads the names and who is dead; a temperament and a hand are their owner's.
        AgregaLog(m, Audiencia::Todos, p.Nombre);
        AgregaLog(m, i, ": (", p.Agresivo ? "Verdadero" : "Falso", ") ");
        AgregaLog(m, Audiencia::Todos, "\r\n");
        if (!p.Vivo) {
            AgregaLog(m, Audiencia::Todos, "(muerto)\r\n");
            continue;
        }
        AgregaLineaCarta(m, i, p.Carta1);
        AgregaLineaCarta(m, i, p.Carta2);
        if (hayVivos) Agrega(aviso, "; ");
        Agrega(aviso, p.Nombre);
        hayVivos = true;
    }
    // Waiting first lets the morning news just started be heard to its end.
    Agrega(aviso, ". Pulse espacio para continuar.");
    f.Habla(aviso, true, false);
}

}  // namespace veldrisa
