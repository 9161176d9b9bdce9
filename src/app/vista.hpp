// What the window shows of the program, and the layout every platform's window draws it in.
#pragma once

#include "app/programa.hpp"
#include "ports/view.hpp"

namespace veldrisa {

// The window's layout on every platform: large type for players with low vision. A long log is
// worth more whole than in large type: its type shrinks step by step to fit. The help at the
// foot is in the log's smallest size, so that it takes little of the log's room.
namespace Disposicion {
constexpr int AnchoInicial = 1024;
constexpr int AltoInicial = 720;
constexpr int Margen = 32;
constexpr int Texto = 30;
constexpr int Titulo = 38;
constexpr int Log[] = {Texto, 27, 24, 21, 18, 16};
constexpr int Ayuda = 16;
constexpr const char* TituloVentana = "La fortuna de Veldrisa";
}  // namespace Disposicion

// The screen that is open, with the text field over it if one is open; nothing once closed.
View Vista(Programa& programa);

}  // namespace veldrisa
