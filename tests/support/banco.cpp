// The test bench's helpers.
#include "support/banco.hpp"

#include <stdexcept>

#include "replay/input.hpp"

namespace veldrisa {

void Banco::teclas(std::initializer_list<std::string_view> nombres) {
    for (auto nombre : nombres) {
        std::string problema;
        auto tecla = ParseKey(nombre, problema);
        if (!tecla) throw std::invalid_argument(problema);
        programa.Tecla(tecla->code, tecla->mask);
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
