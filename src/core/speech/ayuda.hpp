// The key help: the keys that work now, spoken by F1 and shown by the window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "speech/voz.hpp"

namespace veldrisa {

// One entry of a help line: the keys as printed on the keyboard, and what they do.
struct TeclaAyuda {
    std::string teclas;
    std::string accion;
};
using LineaAyuda = std::vector<TeclaAyuda>;

// The keys that work on both screens and in every phase, after the screen's own.
void AgregaTeclasComunes(LineaAyuda& linea);

// For the eye: "Espacio: seleccionar. F2: cambiar el nombre."
std::string AyudaEscrita(const LineaAyuda& linea);
// For the ear, without a mark the voice would read aloud: each entry its own paragraph, which
// the voice ends with a pause.
std::string AyudaHablada(const LineaAyuda& linea);
// Speaks the help, which is no message of the game: F5 does not repeat it.
void DiAyuda(Voz& v, const LineaAyuda& linea);

}  // namespace veldrisa
