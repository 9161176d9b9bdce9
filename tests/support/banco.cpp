// The test bench's helpers.
#include "support/banco.hpp"

#include <stdexcept>

#include "replay/input.hpp"

namespace veldrisa {

void Banco::teclas(std::initializer_list<std::string_view> nombres) {
    for (auto nombre : nombres) {
        std::string problema;
        auto key = ParseKey(nombre, problema);
        if (!key) throw std::invalid_argument(problema);
        tecla(key->code, key->mask);
    }
}

void Banco::tecla(int codigo, int modificadores) {
    programa.Tecla(codigo, modificadores);
    if (programa.Campo() && !respuestas.empty()) {
        std::string respuesta = std::move(respuestas.front());
        respuestas.pop_front();
        programa.Responde(std::move(respuesta));
    }
}

std::vector<Event> Banco::eventos(EventKind kind) const {
    std::vector<Event> out;
    for (const auto& e : recorder.events)
        if (e.kind == kind) out.push_back(e);
    return out;
}

std::vector<std::string> Banco::dichos() const {
    std::vector<std::string> out;
    for (const auto& e : eventos(EventKind::Said)) out.push_back(e.text);
    return out;
}

const std::string& Banco::dicho() const {
    for (auto it = recorder.events.rbegin(); it != recorder.events.rend(); ++it)
        if (it->kind == EventKind::Said) return it->text;
    throw std::logic_error("nothing was said");
}

std::vector<std::string> Banco::hablados() const {
    std::vector<std::string> out;
    for (const auto& e : eventos(EventKind::Spoke)) out.push_back(e.text);
    return out;
}

}  // namespace veldrisa
