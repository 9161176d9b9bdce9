// The run loop: gathering what the window received, handing it to the program, drawing.
#include "app/bucle.hpp"

#include <utility>

#include "app/vista.hpp"
#include "ports/keys.hpp"

namespace veldrisa {
namespace {

// Behind a burst of keys only the screen after the last of them is worth drawing, but a long
// burst still shows its progress this often.
constexpr auto IntervaloDibujo = std::chrono::milliseconds(50);

bool Sale(const KeyEvent& k) { return k.code == Tecla::Escape || (k.code == Tecla::F4 && (k.mask & ModAlt)); }

}  // namespace

void Bucle::Ejecuta(std::function<void()> despierta) {
    despierta_ = std::move(despierta);
    bool pendiente = true;  // the view shown is out of date
    while (!programa_.Terminado()) {
        if (cola_.EndWait()) programa_.plataforma.beeper.beep();
        Recoge();
        if (WindowEvent e; cola_.Pop(e)) {
            Atiende(e);
            pendiente = true;
            if (std::chrono::steady_clock::now() - dibujado_ < IntervaloDibujo) continue;
        } else if (std::exchange(despertado_, false)) {
            if (despierta_) despierta_();
            pendiente = true;
            continue;
        }
        if (programa_.Terminado()) break;
        if (pendiente) {
            Muestra();
            pendiente = false;
            continue;
        }
        // The keys before a close request have all been handled: the program ends.
        if (cerrando_) {
            programa_.Cierra();
            break;
        }
        Recibe(ventana_.wait());
    }
}

bool Bucle::DuranteEspera() {
    cola_.StartWait();
    esperando_ = true;
    Recoge();
    esperando_ = false;
    return !cerrando_;
}

void Bucle::Recoge() {
    // Outside waits a wake-up keeps its place: the keys after it wait in the window.
    while (esperando_ || !despertado_) {
        auto e = ventana_.poll();
        if (!e) return;
        Recibe(std::move(*e));
    }
}

void Bucle::Recibe(WindowEvent e) {
    switch (e.kind) {
        case WindowEvent::Kind::Wake: despertado_ = true; return;
        case WindowEvent::Kind::Close: cerrando_ = true; return;
        case WindowEvent::Kind::Key:
            // The keys typed before a close request are still handled, none after it.
            if (cerrando_ || (esperando_ && ActuaYa(e))) return;
            cola_.PushKey(e, e.physical, e.repeat);
            return;
        case WindowEvent::Kind::Text:
            if (!cerrando_) cola_.PushText(e);
            return;
    }
}

bool Bucle::ActuaYa(const WindowEvent& e) {
    if (e.key.code == Tecla::Control) {
        programa_.plataforma.speech.stop();
        return true;
    }
    if (!Sale(e.key)) return false;
    // Online, Escape leaves the table, not the game: it silences the voice and waits its turn.
    if (e.key.code == Tecla::Escape && programa_.pantalla() == Pantalla::EnLinea) {
        programa_.plataforma.speech.stop();
        return false;
    }
    // Leaving makes the keys still waiting pointless.
    cola_.Clear();
    cerrando_ = true;
    programa_.plataforma.speech.stop();
    return true;
}

void Bucle::Atiende(const WindowEvent& e) {
    if (e.kind == WindowEvent::Kind::Text) {
        programa_.Texto(e.text);
        return;
    }
    if (e.physical != sinRepetir_ || !e.repeat) sinRepetir_ = -1;
    if (sinRepetir_ >= 0) return;
    const auto antes = std::pair(programa_.pantalla(), programa_.Campo() != nullptr);
    programa_.Tecla(e.key.code, e.key.mask);
    if (std::pair(programa_.pantalla(), programa_.Campo() != nullptr) != antes) sinRepetir_ = e.physical;
}

void Bucle::Muestra() {
    ventana_.show(Vista(programa_));
    dibujado_ = std::chrono::steady_clock::now();
}

}  // namespace veldrisa
