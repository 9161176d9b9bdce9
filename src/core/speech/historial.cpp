// Keeping the messages spoken and moving through them.
#include "speech/historial.hpp"

#include <string>

namespace veldrisa {
namespace {

void LeeGuardado(Voz& v) {
    // A copy: the history is not to be read from while the engine is handed the text.
    const std::string mensaje = v.Historial[v.Leido];
    Dice(v, mensaje);
}

}  // namespace

void GuardaEnHistorial(Voz& v, std::string_view texto) {
    if (texto.empty() || (!v.Historial.empty() && v.Historial.back() == texto)) {
        if (!v.Historial.empty()) v.Leido = v.Historial.size() - 1;
        return;
    }
    v.Historial.emplace_back(texto);
    if (v.Historial.size() > MensajesGuardados) v.Historial.pop_front();
    v.Leido = v.Historial.size() - 1;
}

void MensajeAnterior(Voz& v) {
    if (v.Historial.empty() || v.Leido == 0) {
        Dice(v, PrincipioHistorial);
        return;
    }
    --v.Leido;
    LeeGuardado(v);
}

void MensajeSiguiente(Voz& v) {
    if (v.Historial.empty() || v.Leido + 1 >= v.Historial.size()) {
        Dice(v, FinalHistorial);
        return;
    }
    ++v.Leido;
    LeeGuardado(v);
}

void PrimerMensaje(Voz& v) {
    if (v.Historial.empty()) {
        Dice(v, PrincipioHistorial);
        return;
    }
    v.Leido = 0;
    LeeGuardado(v);
}

void MensajeMasReciente(Voz& v) {
    if (v.Historial.empty()) {
        Dice(v, FinalHistorial);
        return;
    }
    v.Leido = v.Historial.size() - 1;
    LeeGuardado(v);
}

}  // namespace veldrisa
