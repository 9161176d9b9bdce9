// What the window shows of the program, the same on every platform: the window draws it.
#pragma once

#include <array>
#include <string>

#include "app/programa.hpp"

namespace veldrisa {

// The setup screen as drawn: the characters 1..10, their selection and the cursor.
struct SetupView {
    std::array<std::string, 10> names;
    std::array<bool, 10> selected{};
    int cursor = 1;    // 1..10
    std::string help;  // the keys that work now, one line, wrapped as it needs
};

// The game screen as drawn: the text log.
struct LogView {
    std::string text;  // UTF-8, lines broken by \r\n
    std::string help;  // the keys that work now, kept at the foot of the window
};

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

SetupView VistaInicio(Programa& programa);
LogView VistaJuego(Programa& programa);

// Hands the window the view of the screen that is open; a closed program shows nothing new.
template <typename Ventana>
void Muestra(Programa& programa, Ventana& ventana) {
    if (programa.pantalla() == Pantalla::Inicio) ventana.Show(VistaInicio(programa));
    if (programa.pantalla() == Pantalla::Juego) ventana.Show(VistaJuego(programa));
}

}  // namespace veldrisa
