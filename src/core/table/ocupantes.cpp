// The room-occupancy lists: a character's entry and the search for it.
#include "table/ocupantes.hpp"

#include "common/texto.hpp"

namespace veldrisa {

std::string EntradaOcupante(int indice) { return Une("0", std::to_string(indice), "; "); }

bool EstaEnSala(const std::string& ocupantes, int indice) {
    return ocupantes.find(Une("0", std::to_string(indice), ";")) != std::string::npos;
}

}  // namespace veldrisa
