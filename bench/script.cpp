// Whole scripted games on the recording stand-ins, kept as the calls they made on the speech engine.
#include "script.hpp"

#include <random>
#include <stdexcept>

#include "support/banco.hpp"
#include "ports/keys.hpp"

namespace veldrisa::bench {
namespace {

constexpr int Controlled[] = {2, 5, 8};
constexpr int MaxKeysPerGame = 20000;

class Player {
public:
    Player(Banco& banco, std::uint32_t seed) : b_(banco), random_(seed) {}

    bool chance(int percent) { return static_cast<int>(random_() % 100) < percent; }
    int upTo(int n) { return 1 + static_cast<int>(random_() % static_cast<unsigned>(n)); }
    void key(int code, int mask = 0) { b_.tecla(code, mask); }
    void digit(int d, int mask = 0) { key(Tecla::Cero + d, mask); }

    void setUp(bool withControls) {
        int cursor = 1;
        for (int c : Controlled) {
            while (cursor < c) {
                key(Tecla::Derecha);
                ++cursor;
            }
            key(Tecla::Espacio);
        }
        if (withControls) {
            b_.responde("Doña Úrsula, la de Cádiz");
            key(Tecla::F2);
            key(Tecla::F8);
            key(Tecla::F8);
            key(Tecla::F7, ModShift);
            key(Tecla::F10);
            key(Tecla::F9);
        }
        key(Tecla::Enter);
    }

    // One move of whoever is to move; false once the game has ended.
    bool move() {
        Mesa& m = b_.mesa();
        if (m.Fase == Fases::FinPartida) return false;
        if (chance(4)) key(Tecla::H);
        if (chance(4)) key(Tecla::F5);
        if (chance(2)) key(Tecla::F6);
        if (chance(3)) key(Tecla::Control, ModControl);
        const bool playerToMove = m.Fase == Fases::Salas || m.Fase == Fases::Cartas || m.Fase == Fases::Objetivo;
        Personaje* actual = playerToMove ? &b_.programa.form1.Actual() : nullptr;
        if (m.Fase == Fases::Salas && actual->Controlado && actual->Sala < 1) {
            if (chance(30)) key(Tecla::C);
            digit(upTo(m.NumSalas));
        } else if (m.Fase == Fases::Cartas && actual->Controlado && actual->CartaElegida < 1) {
            if (chance(30)) key(Tecla::P);
            if (chance(20)) key(Tecla::C);
            if (chance(10)) key(Tecla::Espacio);  // the reminder to choose a card first
            digit(upTo(2), chance(15) ? ModControl : 0);
        } else if (m.Fase == Fases::Objetivo) {
            if (chance(20)) key(Tecla::Espacio);  // the targets again
            if (chance(10)) digit(9);             // a refused target
            digit(upTo(m.NumObjetivos));
        } else {
            key(Tecla::Espacio);
        }
        return true;
    }

private:
    Banco& b_;
    std::mt19937 random_;
};

}  // namespace

std::vector<EngineCall> ScriptedGames(const std::vector<std::string>& voices, const std::vector<std::uint32_t>& seeds) {
    std::vector<EngineCall> calls;
    bool first = true;
    for (std::uint32_t seed : seeds) {
        Banco b(RecordingOptions{.voices = voices, .seed = seed});
        b.recorder.listener = [&calls](const Event& e) {
            switch (e.kind) {
            case EventKind::VoiceCreated: calls.push_back({EngineCall::Kind::CreateVoice, 0, {}}); break;
            case EventKind::VoiceSelected:
                calls.push_back({EngineCall::Kind::SelectVoice, static_cast<int>(e.number), {}});
                break;
            case EventKind::RateSet: calls.push_back({EngineCall::Kind::SetRate, static_cast<int>(e.number), {}}); break;
            case EventKind::Spoke: calls.push_back({EngineCall::Kind::Speak, 0, e.text}); break;
            case EventKind::Stopped: calls.push_back({EngineCall::Kind::Stop, 0, {}}); break;
            default: break;
            }
        };
        if (!b.programa.Inicia()) throw std::runtime_error("the scripted game found no voice");
        Player player(b, seed);
        player.setUp(first);
        first = false;
        int keys = 0;
        while (player.move())
            if (++keys > MaxKeysPerGame) throw std::runtime_error("a scripted game did not end");
    }
    return calls;
}

}  // namespace veldrisa::bench
