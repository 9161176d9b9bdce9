// The keys the game understands: Windows virtual-key codes, the modifier bits, one key event.
#pragma once

namespace veldrisa {

// Every platform hands the game the Windows virtual-key code of a key, whatever its own
// codes are. The set is open (any code 0..255 may arrive and is refused or ignored by the
// game), so the codes are plain numbers with names, not an enumeration.
namespace Tecla {
constexpr int Retroceso = 8;   // VK_BACK
constexpr int Tabulador = 9;   // VK_TAB
constexpr int Enter = 13;      // VK_RETURN
constexpr int Shift = 16;      // VK_SHIFT
constexpr int Control = 17;    // VK_CONTROL
constexpr int Alt = 18;        // VK_MENU
constexpr int Pausa = 19;      // VK_PAUSE
constexpr int BloqMayus = 20;  // VK_CAPITAL
constexpr int Escape = 27;     // VK_ESCAPE
constexpr int Espacio = 32;    // VK_SPACE
constexpr int RePag = 33;      // VK_PRIOR, Page Up
constexpr int AvPag = 34;      // VK_NEXT, Page Down
constexpr int Fin = 35;        // VK_END
constexpr int Inicio = 36;     // VK_HOME
constexpr int Izquierda = 37;  // VK_LEFT
constexpr int Arriba = 38;     // VK_UP
constexpr int Derecha = 39;    // VK_RIGHT
constexpr int Abajo = 40;      // VK_DOWN
constexpr int Insertar = 45;   // VK_INSERT
constexpr int Suprimir = 46;   // VK_DELETE
// The top-row digits and the letters are their ASCII characters.
constexpr int Cero = '0';
constexpr int Nueve = '9';
constexpr int A = 'A';
constexpr int C = 'C';
constexpr int H = 'H';
constexpr int P = 'P';
constexpr int Z = 'Z';
constexpr int Numerico0 = 96;     // VK_NUMPAD0; VK_NUMPAD9 is 105
constexpr int Multiplicar = 106;  // VK_MULTIPLY, the keypad's *
constexpr int Sumar = 107;        // VK_ADD
constexpr int Restar = 109;       // VK_SUBTRACT
constexpr int Decimal = 110;      // VK_DECIMAL
constexpr int Dividir = 111;      // VK_DIVIDE
constexpr int F1 = 112;           // VK_F1; F2..F12 follow in order
constexpr int F2 = 113;
constexpr int F3 = 114;
constexpr int F4 = 115;
constexpr int F5 = 116;
constexpr int F6 = 117;
constexpr int F7 = 118;
constexpr int F8 = 119;
constexpr int F9 = 120;
constexpr int F10 = 121;
constexpr int F11 = 122;
constexpr int F12 = 123;

// The top-row digit d, 0..9.
constexpr int Digito(int d) { return Cero + d; }
// The keypad digit d, 0..9.
constexpr int DigitoNumerico(int d) { return Numerico0 + d; }
// The function key Fn, 1..12.
constexpr int Funcion(int n) { return F1 + n - 1; }
}  // namespace Tecla

// Modifier bits of a key event, held down while the key went down.
constexpr int ModShift = 1;
constexpr int ModControl = 2;
constexpr int ModAlt = 4;

// One key press as the platform hands it to the game.
struct KeyEvent {
    int code = 0;  // a Tecla code
    int mask = 0;  // ModShift | ModControl | ModAlt
    bool operator==(const KeyEvent&) const = default;
};

}  // namespace veldrisa
