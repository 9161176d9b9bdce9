// ResuelveDia: the night carries out every card at once and the executor brings the news.
#include "play/resuelve_dia.hpp"

#include <algorithm>
#include <array>

#include "cards/informe.hpp"
#include "cards/mazo.hpp"
#include "common/texto.hpp"
#include "table/fin_partida.hpp"
#include "table/sonidos.hpp"

namespace veldrisa {
namespace {

// What each living character did tonight, by column 1..10.
struct Acciones {
    std::array<int, NumPersonajes + 1> carta{};        // the card played
    std::array<TipoCarta, NumPersonajes + 1> tipo{};   // its kind, Ninguna when nothing is to happen
    std::array<int, NumPersonajes + 1> objetivo{};     // its target
};

// Balances are kept in halves so that every sum is exact.
constexpr int Escondite = 100, AtaqueFuerte = 4, AtaqueDebil = 3, DefensaFuerte = 4, DefensaDebil = 3;

const char* const FraseMuerte[5] = {
    "", " en extrañas circunstancias. ", " debido a un lamentable accidente. ", "aunque no sé cómo murió. ",
    " por lo cual les doy mis condolencias. "};

const char* const AperturaLarga =
    "Un nuevo día comienza y Mister John Doberman, albacea del testamento y perteneciente al bufete Cats and "
    "Dogs, se presenta cuando todo el grupo está reunido desaiunando. ";

int Siguiente(int posicion) { return posicion % NumPersonajes + 1; }

Acciones AnotaAcciones(Form1& f) {
    Acciones a;
    for (int j = 1; j <= NumPersonajes; ++j) {
        const Personaje& p = f.P(j);
        if (!p.Vivo) continue;
        a.carta[j] = p.CartaElegida == 1 ? p.Carta1 : p.CartaElegida == 2 ? p.Carta2 : 0;
        a.tipo[j] = p.Descarta ? TipoCarta::Ninguna : CartaNumero(f.mesa, a.carta[j]).Tipo;
        a.objetivo[j] = p.Objetivo;
    }
    return a;
}

void CambiaHeredero(Form1& f, const Acciones& a, std::string& noticias) {
    Mesa& m = f.mesa;
    const int inicial = m.Heredero;
    for (int j = 1; j <= NumPersonajes; ++j) {
        if (a.tipo[j] != TipoCarta::CambioHeredero) continue;
        // The user of the card is alive, so the search always ends.
        do m.Heredero = static_cast<std::int16_t>(Siguiente(m.Heredero));
        while (!f.HerederoActual().Vivo);
    }
    if (m.Heredero != inicial)
        noticias = "Tras la aparición de unos papeles incriminatorios, el heredero de la fortuna ha pasado a ser " +
                   f.HerederoActual().Nombre + ". \r\n";
}

// What a card kind does to the balances tonight: to its user's own, and to its target's.
struct Efecto {
    int propio = 0, objetivo = 0;
};
constexpr std::array<Efecto, 9> Efectos = {{
    {},                      // nothing happens
    {},                      // Llaves
    {},                      // CambioHeredero
    {},                      // CambioCarta
    {Escondite, 0},          // Escondite
    {0, -AtaqueFuerte},      // AtaqueFuerte
    {0, -AtaqueDebil},       // AtaqueDebil
    {DefensaFuerte, 0},      // DefensaFuerte
    {DefensaDebil, 0},       // DefensaDebil
}};

std::array<int, NumPersonajes + 1> Balances(const Acciones& a) {
    // Entry 0 takes the target share of the cards without a target.
    std::array<int, NumPersonajes + 1> balance{};
    for (int j = 1; j <= NumPersonajes; ++j) {
        const Efecto& e = Efectos.at(static_cast<std::size_t>(a.tipo[j]));
        balance[static_cast<std::size_t>(j)] += e.propio;
        balance.at(static_cast<std::size_t>(e.objetivo != 0 ? a.objetivo[j] : 0)) += e.objetivo;
    }
    return balance;
}

// Only the attacks really used tonight against the victim are named.
void DescribeAtaque(Form1& f, int victima, const Acciones& a) {
    std::string atacantes;
    for (int i = 1; i <= NumPersonajes; ++i) {
        bool ataca = a.tipo[i] == TipoCarta::AtaqueFuerte || a.tipo[i] == TipoCarta::AtaqueDebil;
        if (!ataca || a.objetivo[i] != victima) continue;
        if (!atacantes.empty()) atacantes += " y de ";
        atacantes += f.P(i).Nombre;
    }
    const Personaje& v = f.P(victima);
    f.HablaA(victima,
             v.Nombre + " cuando estaba en " + f.mesa.NombreSala[v.Sala] + " ha recibido un ataque de " +
                 atacantes + " que le elimina definitivamente como aspirante a la fortuna de Veldrisa",
             true, true);
}

// The heir moves past the dead; false when nobody in the line is alive.
bool Sucede(Form1& f) {
    Mesa& m = f.mesa;
    for (int movimiento = 0; movimiento < 12; ++movimiento) {
        m.Heredero = static_cast<std::int16_t>(Siguiente(m.Heredero));
        if (f.HerederoActual().Vivo) return true;
    }
    return false;
}

// False when the night has left nobody alive and the game has ended.
bool Muertes(Form1& f, const Acciones& a, std::string& noticias) {
    auto balance = Balances(a);
    for (int j = 1; j <= NumPersonajes; ++j) {
        if (balance[j] >= 0) continue;
        Personaje& p = f.P(j);
        p.Vivo = false;
        if (p.Controlado) DescribeAtaque(f, j, a);
        Agrega(noticias, p.Nombre, " ha muerto en ", f.mesa.NombreSala[p.Sala],
               p.Sala >= 1 && p.Sala <= 4 ? FraseMuerte[p.Sala] : "", "\r\n");
        if (f.HerederoActual().Indice == j && !Sucede(f)) {
            FinPartida(f, 2, -1);
            return false;
        }
    }
    return true;
}

void DevuelveCartas(Form1& f) {
    Mesa& m = f.mesa;
    // Each card goes to the first empty slot, if any (a character with no card fills none).
    for (int j = 1; j <= NumPersonajes; ++j) {
        Personaje& p = f.P(j);
        if (p.CartaElegida == 1) Intercambia(p.Carta1, p.Carta2);
        const auto libre = std::find(m.Mazo.v.begin(), m.Mazo.v.end(), 0);
        if (libre != m.Mazo.v.end()) *libre = p.Carta2;
        p.Carta2 = 0;
    }
}

void CambiaCartas(Form1& f, const Acciones& a) {
    for (int j = 1; j <= NumPersonajes; ++j)
        if (a.tipo[j] == TipoCarta::CambioCarta) Intercambia(f.P(j).Carta1, f.P(a.objetivo[j]).Carta1);
}

void CierraSala(Mesa& m, int sala, int quedan) {
    m.SalaAbierta[sala] = false;
    m.NumSalas = static_cast<std::int16_t>(quedan);
}

void CierraSalas(Mesa& m, int vivos, std::string& noticias) {
    const std::string_view cerrada = " Debo informarles, me temo, de que se ha cerrado ";
    const std::string_view disculpa = " Espero que no disturbe demasiado a los señores.";
    if (m.SalaAbierta[4] && vivos < 7) {
        CierraSala(m, 4, 3);
        Agrega(noticias, cerrada, m.NombreSala[4],
               " al uso mientras se aclaran los acontecimientos que están teniendo lugar en esta casa.", disculpa);
    }
    if (m.SalaAbierta[3] && vivos < 5) {
        CierraSala(m, 3, 2);
        if (noticias.find("disturbe") != std::string::npos)
            noticias += " Asimismo ha sido necesario cerrar al uso la biblioteca por problemas de calefacción.";
        else
            Agrega(noticias, cerrada, m.NombreSala[3], " al uso por problemas de calefacción.", disculpa);
    }
    if (m.SalaAbierta[2] && vivos < 4) {
        CierraSala(m, 2, 1);
        if (noticias.find("distur") != std::string::npos)
            noticias += " Lamentablemente, también ha sido necesario cerrar  la cocina de la mansión por diferentes "
                        "motivos.";
        else
            Agrega(noticias, cerrada, m.NombreSala[2], " al uso por quejas recibidas de los cocineros.", disculpa);
    }
}

// Cards of a closed room leave the game when they come back to the deck.
void LimpiaMazo(Mesa& m) {
    for (int k = 1; k <= NumCartas; ++k) {
        int sala = CartaNumero(m, m.Mazo[k]).Sala;
        if (sala >= 1 && sala <= 4 && !m.SalaAbierta[sala]) m.Mazo[k] = 0;
    }
    CompactaMazo(m);
}

std::string Noticiario(Form1& f, const std::string& noticias) {
    const std::string& heredero = f.HerederoActual().Nombre;
    const bool corta = f.mesa.DescripcionCorta;
    if (noticias.empty()) {
        if (corta) return "Mister John Doberman dice: ";
        return Une(AperturaLarga,
                   "Sólo me he acercado para recordarles que el heredero que actualmente es el primero en la línea "
                   "de sucesión es, en estos momentos,  ",
                   heredero, ". Que pasen  un día muy feliz.");
    }
    const char* const apertura = corta ? "Mister John Doberman trae nuevas noticias por la mañana:" : AperturaLarga;
    return Une(apertura, corta ? "" : "Tengo nuevas noticias para ustedes: ", noticias,
               ". Como ustedes ya sabrán, el heredero que actualmente es el primero en la línea de sucesión es, en "
               "estos momentos, ",
               heredero, ". Que pasen  un día muy feliz.");
}

int CuentaVivos(Form1& f) {
    int vivos = 0;
    for (int j = 1; j <= NumPersonajes; ++j) vivos += f.P(j).Vivo ? 1 : 0;
    return vivos;
}

}  // namespace

void ResuelveDia(Form1& f) {
    Mesa& m = f.mesa;
    SuenaFuego(f);
    const Acciones a = AnotaAcciones(f);
    std::string noticias;
    CambiaHeredero(f, a, noticias);
    if (!Muertes(f, a, noticias)) return;
    const Personaje& heredero = f.HerederoActual();
    if (heredero.Vivo && a.tipo[heredero.Indice] == TipoCarta::Llaves) {
        FinPartida(f, 1, heredero.Indice);
        return;
    }
    DevuelveCartas(f);
    CambiaCartas(f, a);
    const int vivos = CuentaVivos(f);
    CierraSalas(m, vivos, noticias);
    LimpiaMazo(m);
    if (vivos > 1) {
        f.Habla(Noticiario(f, noticias));
        InformeAspirantes(f);
    } else {
        FinPartida(f, 3, -1);
    }
}

}  // namespace veldrisa
