// Banco: the whole program on recording stand-ins, for tests that drive it key by key.
#pragma once

#include <deque>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "app/programa.hpp"
#include "platform/recording/platform.hpp"

namespace veldrisa {

// Usage: Banco b; b.programa.Inicia(); b.teclas({"SPACE", "CTRL+1"}); then look at
// b.dichos(), b.recorder.events or the program's state. Seeds start at 1 unless the
// options say otherwise.
struct Banco : RecordingPlatform {
    explicit Banco(const RecordingOptions& options = {}) : RecordingPlatform(options), programa(platform) {}

    Programa programa;

    // Keys in the replay tool's notation ("ENTER", "SHIFT+F8", "KP3", "VK186"), each
    // handled to its end; an unknown name throws std::invalid_argument.
    void teclas(std::initializer_list<std::string_view> nombres);
    void tecla(int codigo, int modificadores = 0);
    // The answer given to the next name field that opens, as TEXT gives it; "" cancels it.
    void responde(std::string texto) { respuestas.push_back(std::move(texto)); }
    std::deque<std::string> respuestas;

    // Texts given to Habla, in the caller's case.
    std::vector<std::string> dichos() const;
    // The last of them; throws when nothing was said.
    const std::string& dicho() const;
    // Texts handed to the engine to speak.
    std::vector<std::string> hablados() const;
    std::vector<Event> eventos(EventKind kind) const;
    int pitidos() const { return static_cast<int>(eventos(EventKind::Beep).size()); }
    // Forgets everything recorded so far, to look only at what comes next.
    void olvida() { recorder.events.clear(); }

    Mesa& mesa() { return programa.form1.mesa; }
    Personaje& personaje(int i) { return programa.Personajes.at(static_cast<std::size_t>(i)); }
};

}  // namespace veldrisa
