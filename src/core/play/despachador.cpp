// TeclaForm1: every key of the game window, in every phase.
#include "play/despachador.hpp"

#include "cards/catalogo.hpp"
#include "cards/fase_salas.hpp"
#include "cards/nueva_partida.hpp"
#include "play/fase_cartas.hpp"
#include "play/resuelve_dia.hpp"
#include "play/tecla_carta.hpp"
#include "ports/keys.hpp"
#include "table/ocupantes.hpp"

namespace veldrisa {
namespace {

bool EsDigito(int tecla) { return tecla >= Tecla::Cero && tecla <= Tecla::Nueve; }

void CambiaDescripcion(Form1& f) {
    f.mesa.DescripcionCorta = !f.mesa.DescripcionCorta;
    f.HablaA(Audiencia::QuienPulsa, std::string("Descripción ") +
                                        (f.mesa.DescripcionCorta ? " corta " : " larga ") + " de las cartas");
}

void DiCartas(Form1& f, const Personaje& c) {
    if (!c.Controlado) return;
    f.HablaA(c.Indice,
             "Sus cartas son: 1. " + TextoCarta(f.mesa, c.Carta1) + " y 2. " + TextoCarta(f.mesa, c.Carta2));
}

void DiPosicion(Form1& f, const Personaje& c) {
    if (c.CartaElegida >= 1) return;
    f.HablaA(c.Indice, DondeEstaYCartas(f, c));
}

// Whether C or P tells anything now: the cards during the room and card choices, where one is
// during the card choice. Before the first room choice there is no current character at all.
bool InformaEnFase(Fases fase, int tecla) {
    return fase == Fases::Cartas || (tecla == Tecla::C && fase == Fases::Salas);
}

void InformaDe(Form1& f, const Personaje& c, int tecla) {
    if (tecla == Tecla::C)
        DiCartas(f, c);
    else
        DiPosicion(f, c);
}

// The keys that are not digits: information, voice and leaving.
void TeclaInformativa(Form1& f, int tecla, int modificadores) {
    switch (tecla) {
        case Tecla::Escape: f.Cerrada = true; break;
        case Tecla::F4:
            if (modificadores & ModAlt) f.Cerrada = true;
            break;
        case Tecla::F5: RepiteMensaje(f.voz); break;
        case Tecla::F6: CambiaDescripcion(f); break;
        case Tecla::H:
            f.HablaA(Audiencia::QuienPulsa, "El heredero actual es " + f.HerederoActual().Nombre);
            break;
        case Tecla::C:
        case Tecla::P:
            if (InformaEnFase(f.mesa.Fase, tecla)) InformaDe(f, f.Actual(), tecla);
            break;
        default: TeclaVoz(f.voz, tecla, modificadores); break;
    }
}

void TeclaSala(Form1& f, int sala) {
    Personaje& c = f.Actual();
    c.Sala = sala;
    f.mesa.OcupantesSala[sala] += EntradaOcupante(c.Indice);
    FaseSalas(f, false);
}

void TeclaObjetivo(Form1& f, int d) {
    Mesa& m = f.mesa;
    if (d == 0 || d > m.NumObjetivos) {
        f.HablaA(f.Actual().Indice,
                 "Sólo hay " + std::to_string(m.NumObjetivos) +
                     " objetivos para elegir. Pulse espacio para escuchar sus nombres de nuevo");
        return;
    }
    f.Actual().Objetivo = m.Objetivos[d];
    m.Fase = Fases::Cartas;
    FaseCartas(f, false);
}

// A digit; false when it fits no case and must be refused with the beep.
bool TeclaDigito(Form1& f, int d, int modificadores) {
    Mesa& m = f.mesa;
    switch (m.Fase) {
        case Fases::Salas:
            // A character that has its room keeps it: a second room would list it twice.
            if (d < 1 || d > m.NumSalas || f.Actual().Sala >= 1) return false;
            TeclaSala(f, d);
            return true;
        case Fases::Cartas:
            if ((d != 1 && d != 2) || f.Actual().CartaElegida >= 1) return false;
            TeclaCarta(f, d, modificadores);
            return true;
        case Fases::Objetivo: TeclaObjetivo(f, d); return true;
        case Fases::FinPartida:
            if (d == 1) NuevaPartidaTrasFin(f);
            return true;
        default: return false;
    }
}

void Avanza(Form1& f) {
    Mesa& m = f.mesa;
    if (m.Fase == Fases::Salas && f.Actual().Sala < 1) {
        f.HablaA(f.Actual().Indice, "Primero debe seleccionar una de las salas. Pulse un número del 1 al " +
                                        std::to_string(m.NumSalas));
        return;
    }
    if (m.Fase == Fases::Cartas && f.Actual().CartaElegida < 1) {
        f.HablaA(
            f.Actual().Indice,
            "Primero debe seleccionar una de las cartas. Pulse la tecla C para escuchar sus cartas y después "
            "pulse 1 "
            "o 2 para elegir una de ellas.");
        return;
    }
    if (m.Fase == Fases::Objetivo) {
        DiObjetivos(f);
        return;
    }
    // The phase moves before its procedure runs, so a prompt always finds it set.
    switch (m.Fase) {
        case Fases::Informe:
            m.Fase = Fases::Salas;
            FaseSalas(f, true);
            break;
        case Fases::Salas:
            m.Fase = Fases::Cartas;
            FaseCartas(f, true);
            break;
        case Fases::Cartas:
            m.Fase = Fases::Resolucion;
            ResuelveDia(f);
            break;
        default: break;
    }
}

// "1 a 4": the digits that choose among n.
std::string DeUnoA(int n) { return n == 1 ? "1" : "1 a " + std::to_string(n); }

LineaAyuda AyudaFase(Form1& f) {
    Mesa& m = f.mesa;
    switch (m.Fase) {
        case Fases::Informe:
            return {
                {"Espacio", "elegir salas"}, {"H", "el heredero"}, {"F6", "descripciones cortas o largas"}};
        case Fases::Salas:
            if (f.Actual().Sala < 1) return {{DeUnoA(m.NumSalas), "elegir sala"}, {"C", "sus cartas"}};
            return {{"Espacio", "elegir cartas"}, {"C", "sus cartas"}};
        case Fases::Cartas:
            if (f.Actual().CartaElegida < 1)
                return {{"1 o 2", "elegir carta"},
                        {"Control y 1 o 2", "tirar la carta"},
                        {"C", "sus cartas"},
                        {"P", "dónde está"}};
            return {{"Espacio", "pasar la noche"}};
        case Fases::Objetivo:
            return {{DeUnoA(m.NumObjetivos), "elegir objetivo"}, {"Espacio", "oír los objetivos"}};
        case Fases::FinPartida: return {{"1", "nueva partida"}};
        default: return {};
    }
}

}  // namespace

LineaAyuda AyudaForm1(Form1& f) {
    LineaAyuda linea = AyudaFase(f);
    linea.push_back({"F5", "repetir"});
    linea.push_back({"F1", "ayuda"});
    AgregaTeclasComunes(linea);
    return linea;
}

void TeclaInformativaDe(Form1& f, int personaje, int tecla) {
    // A dead character is in no room and has no hand left to play.
    if ((tecla == Tecla::C || tecla == Tecla::P) && InformaEnFase(f.mesa.Fase, tecla) && f.P(personaje).Vivo)
        InformaDe(f, f.P(personaje), tecla);
}

void TeclaForm1(Form1& f, int tecla, int modificadores) {
    if (EsDigito(tecla)) {
        if (!TeclaDigito(f, tecla - Tecla::Cero, modificadores)) {
            Destinatario solo(f.voz, Audiencia::QuienPulsa);
            f.plataforma.beeper.beep();
        }
        return;
    }
    TeclaInformativa(f, tecla, modificadores);
    if (tecla == Tecla::F2 || tecla == Tecla::Espacio) Avanza(f);
}

}  // namespace veldrisa
