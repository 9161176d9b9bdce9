// The computer's card choice, a table from the pair of card kinds, and its target draw.
#include "play/eleccion_carta.hpp"

#include <cctype>

#include "cards/combinacion.hpp"

namespace veldrisa {
namespace {

enum class Regla {
    Primera,
    Segunda,
    AlAzar,
    LlavesSiHeredero,        // 1 if heir, else 2
    SegundaSiHerederoAzar,   // 2 if heir, else at random
    SegundaSiHeredero,       // 2 if heir, else 1
    SegundaSiAgresivo,       // 2 if aggressive, else 1
    PrimeraSiAgresivo,       // 1 if aggressive, else 2
};

// The rules by combination; any other is Primera.
constexpr FilaCombinacion<Regla> FilasCartas[] = {
    {12, 18, Regla::LlavesSiHeredero},  {23, 23, Regla::SegundaSiHerederoAzar}, {24, 25, Regla::Segunda},
    {27, 27, Regla::Segunda},           {26, 26, Regla::SegundaSiHeredero},     {28, 28, Regla::SegundaSiHeredero},
    {34, 35, Regla::Segunda},           {37, 37, Regla::Segunda},               {36, 36, Regla::AlAzar},
    {38, 38, Regla::AlAzar},            {45, 45, Regla::SegundaSiAgresivo},     {46, 48, Regla::Primera},
    {56, 56, Regla::Primera},           {58, 58, Regla::Primera},               {57, 57, Regla::PrimeraSiAgresivo},
    {67, 67, Regla::Segunda},           {68, 68, Regla::PrimeraSiAgresivo},
};
constexpr TablaCombinaciones<Regla> TablaCartas(FilasCartas, Regla::Primera);

int EligeCarta(Form1& f, const Personaje& p, int combinacion) {
    const bool heredero = p.Indice == f.mesa.LineaSucesion[f.mesa.Heredero];
    auto azar = [&] { return f.rnd.Entre1Y(2); };
    switch (TablaCartas[combinacion]) {
    case Regla::Primera: return 1;
    case Regla::Segunda: return 2;
    case Regla::AlAzar: return azar();
    case Regla::LlavesSiHeredero: return heredero ? 1 : 2;
    case Regla::SegundaSiHerederoAzar: return heredero ? 2 : azar();
    case Regla::SegundaSiHeredero: return heredero ? 2 : 1;
    case Regla::SegundaSiAgresivo: return p.Agresivo ? 2 : 1;
    case Regla::PrimeraSiAgresivo: return p.Agresivo ? 1 : 2;
    }
    return 1;
}

// The number written from position 'desde' on: leading blanks skipped, then digits.
int LeeNumero(const std::string& texto, std::size_t desde) {
    while (desde < texto.size() && texto[desde] == ' ') ++desde;
    int n = 0;
    while (desde < texto.size() && std::isdigit(static_cast<unsigned char>(texto[desde])))
        n = n * 10 + (texto[desde++] - '0');
    return n;
}

// L / 4 rounded to the nearest integer, halves to the even neighbour.
int Entradas(std::size_t largo) {
    std::size_t q = largo / 4, r = largo % 4;
    if (r > 2 || (r == 2 && q % 2 == 1)) ++q;
    return static_cast<int>(q);
}

int ObjetivoEnSala(Form1& f, const Personaje& p) {
    const std::string& ocupantes = f.mesa.OcupantesSala[p.Sala];
    // One entry is at most five characters: up to that, the character is alone.
    if (ocupantes.size() <= 5) return 0;
    int objetivo;
    do {
        int i = f.rnd.Entero(Entradas(ocupantes.size()));
        objetivo = LeeNumero(ocupantes, 4 * static_cast<std::size_t>(i));
    } while (objetivo == p.Indice);
    return objetivo;
}

int ObjetivoEnLaCasa(Form1& f, const Personaje& p) {
    int objetivo;
    do objetivo = f.rnd.Entre1Y(NumPersonajes);
    while (objetivo == p.Indice || !f.P(objetivo).Vivo);
    return objetivo;
}

}  // namespace

void EligeCartaComputadora(Form1& f, int personaje) {
    Personaje& p = f.P(personaje);
    const Mesa& m = f.mesa;
    const int combinacion = Combinacion(CartaNumero(m, p.Carta1), CartaNumero(m, p.Carta2));
    p.CartaElegida = static_cast<std::int16_t>(EligeCarta(f, p, combinacion));
    const Carta& c = CartaNumero(m, p.CartaElegida == 1 ? p.Carta1 : p.Carta2);
    p.Objetivo = 0;
    if (!c.ConObjetivo) return;
    // A room-bound card hits someone in the character's own room, whatever the card's room.
    int objetivo = c.Sala != SinSala ? ObjetivoEnSala(f, p) : ObjetivoEnLaCasa(f, p);
    p.Objetivo = static_cast<std::int16_t>(objetivo);
}

}  // namespace veldrisa
