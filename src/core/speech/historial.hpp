// The message history: every message spoken, read again with Page Up, Page Down, Home and End.
#pragma once

#include <cstddef>
#include <string_view>

#include "speech/voz.hpp"

namespace veldrisa {

// Messages kept; the oldest give way. A whole game speaks about fifty.
constexpr std::size_t MensajesGuardados = 200;
// Said instead of a message when browsing goes past either end of the history.
constexpr std::string_view PrincipioHistorial = "Principio";
constexpr std::string_view FinalHistorial = "Final";

// Keeps a message spoken by Habla (not the silence, not a repetition of the newest) and
// brings the browsing back to the newest.
void GuardaEnHistorial(Voz& v, std::string_view texto);

// Each speaks the message reached, or the word for the end it is at. None changes the game or
// the message F5 repeats.
void MensajeAnterior(Voz& v);
void MensajeSiguiente(Voz& v);
void PrimerMensaje(Voz& v);
void MensajeMasReciente(Voz& v);

}  // namespace veldrisa
