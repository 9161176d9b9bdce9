// Keeping the messages spoken and moving through them.
#include "speech/historial.hpp"

namespace veldrisa {
namespace {

// At most n bytes of the text's start, never cutting a character in two.
std::string_view Comienzo(std::string_view texto, std::size_t n) {
    if (texto.size() <= n) return texto;
    // A character has at most three bytes after its first; past that the bytes are no UTF-8.
    const std::size_t tope = n >= 3 ? n - 3 : 0;
    while (n > tope && (static_cast<unsigned char>(texto[n]) & 0xC0) == 0x80) --n;
    return texto.substr(0, n);
}

}  // namespace

void Historial::Guarda(std::string_view texto) {
    const std::string_view guardado = Comienzo(texto, BytesPorMensajeGuardado);
    if (guardado.empty() || (!mensajes_.empty() && mensajes_.back() == guardado)) {
        if (!mensajes_.empty()) leido_ = mensajes_.size() - 1;
        return;
    }
    mensajes_.emplace_back(guardado);
    bytes_ += guardado.size();
    while (mensajes_.size() > MensajesGuardados || bytes_ > BytesGuardados) {
        bytes_ -= mensajes_.front().size();
        mensajes_.pop_front();
    }
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
