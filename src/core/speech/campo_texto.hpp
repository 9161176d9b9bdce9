// A text field by ear: what is typed and every editing key are spoken, as a screen reader does.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "speech/ayuda.hpp"
#include "speech/voz.hpp"

namespace veldrisa {

// Characters a field holds at most: enough for any name, little enough for the voice to say
// in a moment.
constexpr std::size_t LargoMaximoCampo = 100;

struct CampoTexto {
    std::string Titulo;
    std::string Indicacion;
    std::string Texto;          // valid UTF-8 with no control characters
    std::size_t Cursor = 0;     // a byte offset at the start of a character
    bool Seleccionado = false;  // the whole text: the first character typed replaces it
};

enum class SalidaCampo { Sigue, Acepta, Cancela };

// The field opens holding inicial, selected, the cursor at its end; nothing is spoken.
CampoTexto AbreCampo(std::string titulo, std::string indicacion, std::string_view inicial);

// Enter accepts, Escape cancels; Backspace and Delete remove the character (with Control, the
// word) before or after the cursor and say "borrado" with it; Left, Right, Home and End (with
// Control, by words) move and say the character or word reached; Up and Down read the whole
// text; Control silences the voice; F1 names the keys. Other keys do nothing: typing arrives
// as text.
SalidaCampo TeclaCampo(Voz& v, CampoTexto& c, int tecla, int modificadores);

// Text typed into the field at the cursor, each piece spoken ("mayúscula" before a capital).
// Control characters are dropped, and nothing beyond LargoMaximoCampo characters is taken.
void EscribeEnCampo(Voz& v, CampoTexto& c, std::string_view escrito);

// The keys of the field, for F1 and the window.
LineaAyuda AyudaCampo();

}  // namespace veldrisa
