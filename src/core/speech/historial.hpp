// The message history: every message spoken, read again with Page Up, Page Down, Home and End.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace veldrisa {

// Messages kept; the oldest give way. A whole game speaks about fifty.
constexpr std::size_t MensajesGuardados = 200;
// A message is kept for browsing up to this many bytes (a game's longest is a few hundred), and
// the history as a whole up to the second figure: a name pasted in by the megabyte must not
// make every message that repeats it a megabyte more of memory.
constexpr std::size_t BytesPorMensajeGuardado = 16 * 1024;
constexpr std::size_t BytesGuardados = 256 * 1024;
// Said instead of a message when browsing goes past either end of the history.
constexpr std::string_view PrincipioHistorial = "Principio";
constexpr std::string_view FinalHistorial = "Final";

// The messages spoken, oldest first, and the one the player reached by browsing: the newest
// until they browse.
class Historial {
public:
    // Keeps a message, its start only when it is longer than BytesPorMensajeGuardado (not the
    // silence, not a repetition of the newest), and brings the browsing back to the newest.
    void Guarda(std::string_view texto);

    // Each moves the browsing and returns what is to be said: the message reached, or the word
    // for the end it is at.
    std::string Anterior();
    std::string Siguiente();
    std::string Primero();
    std::string MasReciente();

    std::size_t size() const { return mensajes_.size(); }
    // The bytes of the messages kept.
    std::size_t bytes() const { return bytes_; }

private:
    std::deque<std::string> mensajes_;
    std::size_t bytes_ = 0;
    std::size_t leido_ = 0;
};

}  // namespace veldrisa
