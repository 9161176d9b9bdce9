// What the online client says: the tables, the characters at a table, the network's faults.
#pragma once

#include <string>

#include "online/mensajes.hpp"
#include "ports/connection.hpp"

namespace veldrisa {

// "Mesa t1, pública, 2 jugadores, 1 espectador, 7 personajes libres, sin límite de tiempo".
std::string DescribeMesa(const MesaEnLista& m);
// "Marcos, suyo", "Marcos, de Ana", "Marcos, libre".
std::string DescribePersonaje(const PersonajeEnMesa& p);
// "sin límite de tiempo", "60 segundos por elección".
std::string DescribeLimite(int segundos);
// The fault in plain words, naming the server.
std::string TextoFallo(ConnectionFault fallo, const std::string& servidor);
// A certificate nobody vouches for: its fingerprint, and what the player may do.
std::string TextoHuellaNueva(const std::string& servidor, const std::string& huella);
// A certificate other than the one the player confirmed.
std::string TextoHuellaCambiada(const std::string& servidor, const std::string& archivo);

}  // namespace veldrisa
