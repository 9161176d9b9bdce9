// The computer's room choice: a table from the pair of card kinds to a rule.
#include "cards/eleccion_sala.hpp"

#include "cards/combinacion.hpp"

namespace veldrisa {
namespace {

// What a hand of two different kinds makes the computer do.
enum class Regla {
    Indecisa,            // a random open room
    SalonSiHeredero,     // the heir takes the keys to the salón; anyone else as S2SiAbierta
    S2SiAbierta,         // the second card's room when open
    EsconditeOAtaque,    // the attack's room when aggressive, else the hiding place's
    S1SiAbierta,         // the first card's room when open
    S1SiAgresivoAbierta  // the first card's room when open and the character is aggressive
};

constexpr FilaCombinacion<Regla> FilasSalas[] = {
    {12, 18, Regla::SalonSiHeredero},  {23, 28, Regla::S2SiAbierta},
    {34, 38, Regla::S2SiAbierta},      {45, 45, Regla::EsconditeOAtaque},
    {46, 48, Regla::S1SiAbierta},      {56, 56, Regla::S1SiAbierta},
    {58, 58, Regla::S1SiAbierta},      {57, 57, Regla::S1SiAgresivoAbierta},
};

constexpr TablaCombinaciones<Regla> TablaSalas(FilasSalas, Regla::Indecisa);

}  // namespace

int EligeSalaComputadora(Form1& f, int personaje) {
    Personaje& p = f.P(personaje);
    const Mesa& m = f.mesa;
    if (p.Carta2 < p.Carta1) Intercambia(p.Carta1, p.Carta2);
    const Carta& c1 = CartaNumero(m, p.Carta1);
    const Carta& c2 = CartaNumero(m, p.Carta2);
    auto abierta = [&](int s) { return s >= -1 && s <= 4 && m.SalaAbierta[s]; };
    int s1 = c1.Sala, s2 = c2.Sala;

    int sala = SinSala;
    if (c1.Tipo == c2.Tipo) {
        if (s1 != SinSala) sala = s1;
    } else {
        switch (TablaSalas[Combinacion(c1, c2)]) {
        case Regla::SalonSiHeredero:
            if (personaje == m.LineaSucesion[m.Heredero]) {
                sala = 1;
                break;
            }
            [[fallthrough]];
        case Regla::S2SiAbierta:
            if (abierta(s2)) sala = s2;
            break;
        case Regla::EsconditeOAtaque:
            if (abierta(s2) && p.Agresivo)
                sala = s2;
            else if (abierta(s1))
                sala = s1;
            break;
        case Regla::S1SiAbierta:
            if (abierta(s1)) sala = s1;
            break;
        case Regla::S1SiAgresivoAbierta:
            if (abierta(s1) && p.Agresivo) sala = s1;
            break;
        case Regla::Indecisa: break;
        }
    }
    // The salón never closes, so this draw always ends.
    while (!abierta(sala)) sala = f.rnd.Entre1Y(4);
    return sala;
}

}  // namespace veldrisa
