// Writing and speaking a help line.
#include "speech/ayuda.hpp"

#include "common/texto.hpp"

namespace veldrisa {

void AgregaTeclasComunes(LineaAyuda& linea) {
    linea.push_back({"Re Pág y Av Pág", "mensajes anteriores"});
    linea.push_back({"F7 y F8", "velocidad de la voz"});
    linea.push_back({"F9 y F10", "voz"});
    linea.push_back({"Control", "callar"});
    linea.push_back({"F11 y F12", "volumen de los sonidos"});
    linea.push_back({"Escape", "salir"});
}

std::string AyudaEscrita(const LineaAyuda& linea) {
    std::string texto;
    for (const auto& t : linea) Agrega(texto, texto.empty() ? "" : " ", t.teclas, ": ", t.accion, ".");
    return texto;
}

std::string AyudaHablada(const LineaAyuda& linea) {
    std::string texto;
    for (const auto& t : linea) Agrega(texto, texto.empty() ? "" : "\r\n\r\n", t.teclas, " ", t.accion);
    return texto;
}

void DiAyuda(Voz& v, const LineaAyuda& linea) { Dice(v, AyudaHablada(linea)); }

}  // namespace veldrisa
