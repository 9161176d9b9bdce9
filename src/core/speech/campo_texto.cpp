// Editing the text field and saying what each key did.
#include "speech/campo_texto.hpp"

#include "common/texto.hpp"
#include "common/unicode.hpp"
#include "ports/keys.hpp"

namespace veldrisa {
namespace {

enum class Lado { Atras, Adelante };

bool EsBlanco(char c) { return c == ' ' || c == '\t'; }

// A lone space would be heard as nothing at all, and a lone capital as its small letter.
std::string Pronunciable(std::string_view pieza) {
    if (pieza == " ") return "espacio";
    if (CuentaCaracteres(pieza) == 1 && Minusculas(pieza) != pieza) return Une("mayúscula ", pieza);
    return std::string(pieza);
}

// Where the word before the cursor starts: blanks are passed first, then the word.
std::size_t InicioPalabraAnterior(std::string_view t, std::size_t i) {
    while (i > 0 && EsBlanco(t[i - 1])) --i;
    while (i > 0 && !EsBlanco(t[i - 1])) i = CaracterAnterior(t, i);
    return i;
}

// Where the next word starts: the rest of this word is passed, then the blanks.
std::size_t InicioPalabraSiguiente(std::string_view t, std::size_t i) {
    while (i < t.size() && !EsBlanco(t[i])) i = CaracterSiguiente(t, i);
    while (i < t.size() && EsBlanco(t[i])) ++i;
    return i;
}

std::size_t FinPalabra(std::string_view t, std::size_t i) {
    while (i < t.size() && !EsBlanco(t[i])) i = CaracterSiguiente(t, i);
    return i;
}

void DiTodo(Voz& v, const CampoTexto& c) { Dice(v, c.Texto.empty() ? "vacío" : c.Texto); }

// Says what lies at the cursor: a character, or with porPalabras the word that starts there.
void DiPosicion(Voz& v, const CampoTexto& c, bool porPalabras) {
    if (c.Texto.empty()) {
        Dice(v, "vacío");
    } else if (c.Cursor >= c.Texto.size()) {
        Dice(v, "en blanco");
    } else {
        const std::size_t fin =
            porPalabras ? FinPalabra(c.Texto, c.Cursor) : CaracterSiguiente(c.Texto, c.Cursor);
        Dice(v, Pronunciable(
                    std::string_view(c.Texto).substr(c.Cursor, std::max(fin, c.Cursor + 1) - c.Cursor)));
    }
}

void Mueve(Voz& v, CampoTexto& c, std::size_t a, bool porPalabras) {
    c.Seleccionado = false;
    c.Cursor = a;
    DiPosicion(v, c, porPalabras);
}

void Borra(Voz& v, CampoTexto& c, Lado lado, bool porPalabras) {
    if (c.Texto.empty()) {
        Dice(v, "vacío");
        return;
    }
    std::size_t desde = 0, hasta = c.Texto.size();
    if (!c.Seleccionado) {
        const std::string_view t = c.Texto;
        if (lado == Lado::Atras) {
            desde = porPalabras ? InicioPalabraAnterior(t, c.Cursor) : CaracterAnterior(t, c.Cursor);
            hasta = c.Cursor;
        } else {
            desde = c.Cursor;
            hasta = porPalabras ? InicioPalabraSiguiente(t, c.Cursor) : CaracterSiguiente(t, c.Cursor);
        }
    }
    c.Seleccionado = false;
    if (desde == hasta) {
        // Nothing on that side of the cursor: say which end it is at.
        Dice(v, lado == Lado::Atras ? "inicio" : "en blanco");
        return;
    }
    const std::string borrado = c.Texto.substr(desde, hasta - desde);
    c.Texto.erase(desde, hasta - desde);
    c.Cursor = desde;
    Dice(v, Une("borrado ", Pronunciable(borrado)));
}

}  // namespace

CampoTexto AbreCampo(std::string titulo, std::string indicacion, std::string_view inicial) {
    CampoTexto c{std::move(titulo), std::move(indicacion), TextoEscribible(inicial), 0, false};
    c.Cursor = c.Texto.size();
    c.Seleccionado = !c.Texto.empty();
    return c;
}

SalidaCampo TeclaCampo(Voz& v, CampoTexto& c, int tecla, int modificadores) {
    const bool porPalabras = (modificadores & ModControl) != 0 && tecla != Tecla::Control;
    const std::string_view t = c.Texto;
    switch (tecla) {
        case Tecla::Enter: return SalidaCampo::Acepta;
        case Tecla::Escape: return SalidaCampo::Cancela;
        case Tecla::Retroceso: Borra(v, c, Lado::Atras, porPalabras); break;
        case Tecla::Suprimir: Borra(v, c, Lado::Adelante, porPalabras); break;
        case Tecla::Izquierda:
            Mueve(v, c,
                  c.Seleccionado ? 0
                  : porPalabras  ? InicioPalabraAnterior(t, c.Cursor)
                                 : CaracterAnterior(t, c.Cursor),
                  porPalabras);
            break;
        case Tecla::Derecha:
            Mueve(v, c,
                  c.Seleccionado ? t.size()
                  : porPalabras  ? InicioPalabraSiguiente(t, c.Cursor)
                                 : CaracterSiguiente(t, c.Cursor),
                  porPalabras);
            break;
        case Tecla::Inicio: Mueve(v, c, 0, false); break;
        case Tecla::Fin: Mueve(v, c, t.size(), false); break;
        case Tecla::Arriba:
        case Tecla::Abajo: DiTodo(v, c); break;
        case Tecla::Control: Calla(v); break;
        case Tecla::F1: DiAyuda(v, AyudaCampo()); break;
        default: break;
    }
    return SalidaCampo::Sigue;
}

void EscribeEnCampo(Voz& v, CampoTexto& c, std::string_view escrito) {
    std::string limpio = TextoEscribible(escrito);
    if (limpio.empty()) return;
    if (c.Seleccionado) {
        c.Texto.clear();
        c.Cursor = 0;
        c.Seleccionado = false;
    }
    const std::size_t caben = LargoMaximoCampo - std::min(LargoMaximoCampo, CuentaCaracteres(c.Texto));
    const bool sobra = MasDeNCaracteres(limpio, caben);
    limpio.resize(PrimerosCaracteres(limpio, caben).size());
    c.Texto.insert(c.Cursor, limpio);
    c.Cursor += limpio.size();
    const std::string limite = Une("Máximo de ", std::to_string(LargoMaximoCampo), " caracteres");
    if (!sobra)
        Dice(v, Pronunciable(limpio));
    else
        Dice(v, limpio.empty() ? limite : Une(Pronunciable(limpio), ". ", limite));
}

LineaAyuda AyudaCampo() {
    return {{"Enter", "aceptar"},
            {"Escape", "cancelar"},
            {"Izquierda, Derecha, Inicio, Fin", "moverse; con Control, por palabras"},
            {"Retroceso, Suprimir", "borrar"},
            {"Arriba, Abajo", "leer todo"},
            {"Control", "callar la voz"}};
}

}  // namespace veldrisa
