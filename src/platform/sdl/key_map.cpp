// The table from SDL keys to Windows virtual-key codes.
#include "platform/sdl/key_map.hpp"

namespace veldrisa {
namespace {

int Mask(SDL_Keycode key, Uint16 modifiers) {
    int mask = 0;
    if (modifiers & KMOD_SHIFT) mask |= ModShift;
    if (modifiers & KMOD_CTRL) mask |= ModControl;
    if (modifiers & KMOD_ALT) mask |= ModAlt;
    // A modifier key counts as held while it goes down, whatever the event's state says.
    switch (key) {
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: mask |= ModShift; break;
    case SDLK_LCTRL:
    case SDLK_RCTRL: mask |= ModControl; break;
    case SDLK_LALT:
    case SDLK_RALT: mask |= ModAlt; break;
    default: break;
    }
    return mask;
}

std::optional<int> Code(SDL_Keycode key, SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return Tecla::Digito(1 + (scancode - SDL_SCANCODE_1));
    if (scancode == SDL_SCANCODE_0) return Tecla::Cero;
    if (key >= SDLK_a && key <= SDLK_z) return Tecla::A + (key - SDLK_a);
    // Layouts without Latin letters still give the letter keys their place's letter.
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z && !(key >= 0x20 && key < 0x7F))
        return Tecla::A + (scancode - SDL_SCANCODE_A);
    if (key >= SDLK_F1 && key <= SDLK_F12) return Tecla::Funcion(1 + (key - SDLK_F1));
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return Tecla::DigitoNumerico(1 + (key - SDLK_KP_1));
    switch (key) {
    case SDLK_KP_0: return Tecla::Numerico0;
    case SDLK_BACKSPACE: return Tecla::Retroceso;
    case SDLK_TAB: return Tecla::Tabulador;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return Tecla::Enter;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return Tecla::Shift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return Tecla::Control;
    case SDLK_LALT:
    case SDLK_RALT: return Tecla::Alt;
    case SDLK_PAUSE: return Tecla::Pausa;
    case SDLK_CAPSLOCK: return Tecla::BloqMayus;
    case SDLK_ESCAPE: return Tecla::Escape;
    case SDLK_SPACE: return Tecla::Espacio;
    case SDLK_PAGEUP: return Tecla::RePag;
    case SDLK_PAGEDOWN: return Tecla::AvPag;
    case SDLK_END: return Tecla::Fin;
    case SDLK_HOME: return Tecla::Inicio;
    case SDLK_LEFT: return Tecla::Izquierda;
    case SDLK_UP: return Tecla::Arriba;
    case SDLK_RIGHT: return Tecla::Derecha;
    case SDLK_DOWN: return Tecla::Abajo;
    case SDLK_INSERT: return Tecla::Insertar;
    case SDLK_DELETE: return Tecla::Suprimir;
    case SDLK_KP_MULTIPLY: return Tecla::Multiplicar;
    case SDLK_KP_PLUS: return Tecla::Sumar;
    case SDLK_KP_MINUS: return Tecla::Restar;
    case SDLK_KP_PERIOD: return Tecla::Decimal;
    case SDLK_KP_DIVIDE: return Tecla::Dividir;
    default: return std::nullopt;
    }
}

}  // namespace

std::optional<KeyEvent> MapKey(SDL_Keycode key, SDL_Scancode scancode, Uint16 modifiers) {
    std::optional<int> code = Code(key, scancode);
    if (!code) return std::nullopt;
    return KeyEvent{*code, Mask(key, modifiers)};
}

}  // namespace veldrisa
