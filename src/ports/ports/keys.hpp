// The keys the game understands: Windows virtual-key codes, the modifier bits, one key event.
#pragma once

namespace veldrisa {

// Every platform hands the game the Windows virtual-key code of a key, whatever its own
// codes are. The set is open (any code 0..255 may arrive and is refused or ignored by the
// game), so the codes are plain numbers with names, not an enumeration.
namespace Tecla {
// Editing and control keys: VK_BACK, VK_TAB, VK_RETURN, VK_SHIFT, VK_CONTROL, VK_MENU (Alt),
// VK_PAUSE, VK_CAPITAL (Caps Lock), VK_ESCAPE, VK_SPACE.
constexpr int Retroceso = 8, Tabulador = 9, Enter = 13;
constexpr int Shift = 16, Control = 17, Alt = 18, Pausa = 19, BloqMayus = 20;
constexpr int Escape = 27, Espacio = 32;
// VK_PRIOR (Page Up), VK_NEXT (Page Down), VK_END, VK_HOME, the arrows, VK_INSERT, VK_DELETE.
constexpr int RePag = 33, AvPag = 34, Fin = 35, Inicio = 36;
constexpr int Izquierda = 37, Arriba = 38, Derecha = 39, Abajo = 40;
constexpr int Insertar = 45, Suprimir = 46;
// The top-row digits and the letters are their ASCII characters.
constexpr int Cero = '0', Nueve = '9';
constexpr int A = 'A', C = 'C', H = 'H', P = 'P', Z = 'Z';
// The keypad: VK_NUMPAD0..VK_NUMPAD9 (96..105), then VK_MULTIPLY, VK_ADD, VK_SUBTRACT,
// VK_DECIMAL, VK_DIVIDE.
constexpr int Numerico0 = 96;
constexpr int Multiplicar = 106, Sumar = 107, Restar = 109, Decimal = 110, Dividir = 111;
// VK_F1..VK_F12.
constexpr int F1 = 112, F2 = 113, F3 = 114, F4 = 115, F5 = 116, F6 = 117;
constexpr int F7 = 118, F8 = 119, F9 = 120, F10 = 121, F11 = 122, F12 = 123;

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
