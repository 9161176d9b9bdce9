// The one run loop of the program, on every platform: keys, typed text and close requests in,
// the view out.
#pragma once

#include <chrono>
#include <functional>

#include "app/key_queue.hpp"
#include "app/programa.hpp"
#include "ports/window.hpp"

namespace veldrisa {

class Bucle {
public:
    Bucle(Programa& programa, Window& ventana) : programa_(programa), ventana_(ventana) {}

    // Hands the program every key and text in the order they came, each to its end, until the
    // program ends. Another source of events (the network) wakes the window; despierta then
    // runs here, between two keys, never in the middle of one.
    void Ejecuta(std::function<void()> despierta = {});

    // The speech engine calls this over and over while the game waits for a message to be
    // heard. Keys pressed meanwhile wait their turn (within KeyQueue's bounds), except three
    // that act at once: Control ends the message and so the wait; Escape and Alt+F4 leave
    // (online, Escape ends the message and then waits its turn: it leaves the table).
    // False once the program is leaving: the wait is given up.
    bool DuranteEspera();

private:
    // Everything the window holds, into the queue.
    void Recoge();
    void Recibe(WindowEvent e);
    // During a wait, the keys that cannot wait: true when the key was one of them.
    bool ActuaYa(const WindowEvent& e);
    void Atiende(const WindowEvent& e);
    void Muestra();

    Programa& programa_;
    Window& ventana_;
    KeyQueue<WindowEvent> cola_;
    std::function<void()> despierta_;
    bool esperando_ = false;
    bool despertado_ = false;
    bool cerrando_ = false;
    // The key that closed the field or changed the screen: its auto-repeats must not reach the
    // screen below it.
    int sinRepetir_ = -1;
    std::chrono::steady_clock::time_point dibujado_{};
};

}  // namespace veldrisa
