// Keeping the messages spoken and moving through them.
#include "speech/historial.hpp"

namespace veldrisa {

void Historial::Guarda(std::string_view texto) {
    if (texto.empty() || (!mensajes_.empty() && mensajes_.back() == texto)) {
        if (!mensajes_.empty()) leido_ = mensajes_.size() - 1;
        return;
    }
    mensajes_.emplace_back(texto);
    if (mensajes_.size() > MensajesGuardados) mensajes_.pop_front();
    leido_ = mensajes_.size() - 1;
}

std::string Historial::Anterior() {
    if (mensajes_.empty() || leido_ == 0) return std::string(PrincipioHistorial);
    return mensajes_[--leido_];
}

std::string Historial::Siguiente() {
    if (mensajes_.empty() || leido_ + 1 >= mensajes_.size()) return std::string(FinalHistorial);
    return mensajes_[++leido_];
}

std::string Historial::Primero() {
    if (mensajes_.empty()) return std::string(PrincipioHistorial);
    leido_ = 0;
    return mensajes_[leido_];
}

std::string Historial::MasReciente() {
    if (mensajes_.empty()) return std::string(FinalHistorial);
    leido_ = mensajes_.size() - 1;
    return mensajes_[leido_];
}

}  // namespace veldrisa
