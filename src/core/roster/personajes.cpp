// CreaPersonajes: the ten heirs as every run starts them.
#include "roster/personajes.hpp"

namespace veldrisa {
namespace {

const char* const NombresIniciales[NumPersonajes + 1] = {
    "Nadie en especial",
    "Micifú, el gato andalú",
    "Sir Thomas, el apenado marido",
    "Jenniffer, la hija pija",
    "William, el hijo rockero",
    "Lady Mary Simmons la cotilla, su mejor amiga",
    "Bautista, el chófer",
    "Tom, el mayordomo",
    "Miss Jane Hairton, su peluquera de toda la vida",
    "Miss Pamela Skystar, su vidente personal",
    "Mister Harry Gold, su banquero de confianza",
};

}  // namespace

void CreaPersonajes(Roster& personajes, Generador& rnd) {
    for (int i = 1; i <= NumPersonajes; ++i) {
        Personaje& p = personajes[static_cast<std::size_t>(i)];
        p.Indice = static_cast<std::int16_t>(i);
        p.Nombre = NombresIniciales[i];
        p.Sala = 1;
        p.Controlado = false;
        p.Vivo = true;
        // The temperaments come before any seeding, so every run draws the same ones.
        p.Agresivo = rnd.MenorQueMedio();
    }
    personajes[0] = Personaje{};
    personajes[0].Nombre = NombresIniciales[0];
}

}  // namespace veldrisa
