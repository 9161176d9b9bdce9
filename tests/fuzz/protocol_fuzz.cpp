// Coverage-guided fuzzing of the online tables' message parser: any bytes, read as one client
// message, are either refused with a reason or give a message whose every field is in range.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "protocol/messages.hpp"
#include "support/utf8_estricto.hpp"

namespace veldrisa::protocol {
namespace {

[[noreturn]] void Falla(const char* que) {
    std::fprintf(stderr, "protocol fuzz: %s\n", que);
    std::abort();
}

void NombreLimpio(const std::string& nombre) {
    if (nombre.empty() || !prueba::Utf8Estricto(nombre)) Falla("a name that is empty or not UTF-8");
    if (nombre.front() == ' ' || nombre.back() == ' ') Falla("a name with blanks at an end");
    for (unsigned char c : nombre)
        if (c < 0x20 || c == 0x7F) Falla("a name with a control character");
}

void Personaje(int c) {
    if (c < 1 || c > 10) Falla("a character out of 1..10");
}

void Revisa(const ClientMessage& m) {
    if (const auto* c = std::get_if<CreateTable>(&m)) {
        NombreLimpio(c->name);
        if (c->isPrivate == c->code.empty())
            Falla("a private table without its code, or a code on a public one");
    } else if (const auto* j = std::get_if<Join>(&m)) {
        NombreLimpio(j->name);
        if (j->table.empty() || j->table.size() > 16) Falla("a table identifier out of size");
    } else if (const auto* r = std::get_if<Rename>(&m)) {
        NombreLimpio(r->name);
        Personaje(r->character);
    } else if (const auto* c = std::get_if<Claim>(&m)) {
        Personaje(c->character);
    } else if (const auto* k = std::get_if<GameKey>(&m)) {
        if (k->character != 0) Personaje(k->character);
        if (k->key.mask & ~ModControl) Falla("a key with a modifier other than Control");
    }
}

}  // namespace
}  // namespace veldrisa::protocol

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace veldrisa::protocol;
    const auto parsed = ParseClientMessage(std::string_view(reinterpret_cast<const char*>(data), size));
    if (const auto* m = std::get_if<ClientMessage>(&parsed)) {
        if (size > MaxMessageBytes) Falla("an oversized message accepted");
        Revisa(*m);
    }
    return 0;
}
