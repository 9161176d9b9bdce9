// Coverage-guided fuzzing of the whole program: bytes become keys, modifiers and typed names.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/programa.hpp"
#include "platform/recording/platform.hpp"
#include "ports/keys.hpp"
#include "replay/output.hpp"
#include "support/invariantes.hpp"
#include "support/utf8_estricto.hpp"

namespace veldrisa {
namespace {

class Bytes {
public:
    Bytes(const std::uint8_t* datos, std::size_t n) : datos_(datos), n_(n) {}
    bool Vacio() const { return i_ >= n_; }
    std::uint8_t Siguiente() { return Vacio() ? 0 : datos_[i_++]; }

private:
    const std::uint8_t* datos_;
    std::size_t n_;
    std::size_t i_ = 0;
};

// The keys worth pressing most often; Escape and Alt+F4 come only through raw codes so that
// most inputs play on instead of leaving at once.
using namespace Tecla;
const int TeclasUtiles[] = {Enter,     Control,   Espacio,   Espacio,   Espacio,   Izquierda,         Arriba,
                            Derecha,   Abajo,     Digito(0), Digito(1), Digito(1), Digito(2),         Digito(2),
                            Digito(3), Digito(4), Digito(5), Digito(6), Digito(7), Digito(8),         Digito(9),
                            C,         H,         P,         F2,        F5,        F6,                F7,
                            F8,        F9,        F10,       Numerico0, DigitoNumerico(1), DigitoNumerico(2),
                            A,         F1,        F11,       F12,       Shift,     Alt,               F4,
                            Digito(1), Digito(2), Espacio,   Digito(3)};
constexpr std::uint8_t Crudo = 63;  // the next two bytes are a raw key code and modifier mask

void PulsaTecla(Programa& p, Bytes& b) {
    std::uint8_t byte = b.Siguiente();
    std::uint8_t indice = byte & 0x3F;
    if (indice == Crudo) {
        int codigo = b.Siguiente();
        p.Tecla(codigo, b.Siguiente() & 7);
        return;
    }
    static const int mascaras[4] = {0, ModControl, ModShift, ModAlt};
    int codigo = TeclasUtiles[indice % std::size(TeclasUtiles)];
    p.Tecla(codigo, mascaras[byte >> 6]);
}

// In the name field the bytes type whatever they say, invalid UTF-8 and control characters
// included, between the field's editing keys; now and then the whole answer at once.
void Escribe(Programa& p, Bytes& b) {
    static const int teclasCampo[] = {Enter,     Escape,   Retroceso, Suprimir, Izquierda, Derecha,
                                      Inicio,    Fin,      Arriba,    Control,  F1,        Tabulador};
    const std::uint8_t byte = b.Siguiente();
    if (byte < 0x40) {
        p.Tecla(teclasCampo[byte % std::size(teclasCampo)], byte & 0x20 ? ModControl : 0);
        return;
    }
    std::string texto;
    for (int i = byte & 0x0F; i >= 0 && !b.Vacio(); --i) texto += static_cast<char>(b.Siguiente());
    if (byte >= 0xF0)
        p.Responde(texto);
    else
        p.Texto(texto);
}

// What the replay tool would write of it must be valid UTF-8, whatever bytes were typed.
void RevisaSalida(const std::string& linea) {
    if (prueba::Utf8Estricto(linea)) return;
    std::fprintf(stderr, "invalid UTF-8 in: %s\n", linea.c_str());
    std::abort();
}

void Revisa(Programa& p) {
    if (p.pantalla() != Pantalla::Juego) return;
    auto faltas = Incumplidas(p.form1);
    if (faltas.empty()) return;
    for (const auto& f : faltas) std::fprintf(stderr, "broken: %s\n", f.c_str());
    std::abort();
}

}  // namespace
}  // namespace veldrisa

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n) {
    using namespace veldrisa;
    Bytes b(datos, n);
    RecordingPlatform rp(RecordingOptions{.seed = b.Siguiente()});
    rp.recorder.listener = [](const Event& e) {
        if (auto linea = EventJson(e)) RevisaSalida(*linea);
    };
    Programa p(rp.platform);
    if (!p.Inicia()) return 0;
    while (!b.Vacio() && !p.Terminado()) {
        if (p.Campo())
            Escribe(p, b);
        else
            PulsaTecla(p, b);
        Revisa(p);
    }
    RevisaSalida(StateJson(p));
    return 0;
}
