// Whole games with every character in the computer's hands, as fast as the game code plays them.
#include "rules.hpp"

#include <chrono>

#include "app/programa.hpp"
#include "platform/recording/platform.hpp"
#include "ports/keys.hpp"

namespace veldrisa::bench {

std::vector<double> GamesPerSecond(int intervals, double seconds) {
    using Clock = std::chrono::steady_clock;
    RecordingPlatform rp(RecordingOptions{.seed = 1});
    rp.recorder.listener = [](const Event&) {};
    Programa p(rp.platform);
    p.Inicia();
    // Nobody selected: the computer plays all ten.
    p.Tecla(Tecla::Enter, 0);
    std::vector<double> rates;
    for (int i = 0; i < intervals; ++i) {
        long games = 0;
        const auto start = Clock::now();
        const auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
        auto now = start;
        while (now < end) {
            // A check of the clock every few games keeps its cost out of the figure.
            for (int k = 0; k < 64; ++k) {
                while (p.form1.mesa.Fase != Fases::FinPartida) p.Tecla(Tecla::Espacio, 0);
                ++games;
                p.Tecla(Tecla::Cero + 1, 0);
            }
            now = Clock::now();
        }
        rates.push_back(static_cast<double>(games) / std::chrono::duration<double>(now - start).count());
    }
    return rates;
}

}  // namespace veldrisa::bench
