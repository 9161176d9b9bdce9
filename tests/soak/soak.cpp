// Soak run: many whole games, checked after every night, with the process's memory reported.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "app/programa.hpp"
#include "platform/recording/platform.hpp"
#include "ports/keys.hpp"
#include "support/invariantes.hpp"

namespace veldrisa {
namespace {

long MemoriaResidenteKiB() {
    std::ifstream status("/proc/self/status");
    std::string clave;
    long valor = 0;
    while (status >> clave) {
        if (clave == "VmRSS:") {
            status >> valor;
            return valor;
        }
        status.ignore(256, '\n');
    }
    return -1;
}

bool Revisa(Programa& p, long partida) {
    auto faltas = Incumplidas(p.form1);
    for (const auto& f : faltas) std::fprintf(stderr, "game %ld: %s\n", partida, f.c_str());
    return faltas.empty();
}

// Plays games until `partidas` have ended; players (if any) press random keys.
bool Juega(Programa& p, long partidas, std::mt19937& azar, bool conJugadores) {
    static const int teclas[] = {Tecla::Espacio,  Tecla::Espacio,  Tecla::Espacio,  Tecla::Digito(1),
                                 Tecla::Digito(2), Tecla::Digito(3), Tecla::Digito(4), Tecla::Digito(1),
                                 Tecla::Digito(2), Tecla::Control,   Tecla::H,         Tecla::C,
                                 Tecla::P,         Tecla::F6,        Tecla::F5,        Tecla::F2};
    std::uniform_int_distribution<int> cual(0, std::size(teclas) - 1), control(0, 3);
    long terminadas = 0;
    while (terminadas < partidas) {
        Fases fase = p.form1.mesa.Fase;
        if (conJugadores)
            p.Tecla(teclas[cual(azar)], control(azar) == 0 ? ModControl : 0);
        else
            p.Tecla(Tecla::Espacio, 0);
        // A night has passed when the space of the card phase led to a new day or the end.
        bool noche = fase == Fases::Cartas && p.form1.mesa.Fase != Fases::Cartas && p.form1.mesa.Fase != Fases::Objetivo;
        if (noche && !Revisa(p, terminadas)) return false;
        if (p.form1.mesa.Fase == Fases::FinPartida) {
            ++terminadas;
            p.Tecla(Tecla::Digito(1), 0);
            if (!Revisa(p, terminadas)) return false;
        }
    }
    return true;
}

bool Tanda(const char* nombre, long partidas, bool conJugadores, std::uint32_t semilla) {
    RecordingPlatform rp(RecordingOptions{.seed = semilla});
    rp.recorder.listener = [](const Event&) {};
    Programa p(rp.platform);
    p.Inicia();
    std::mt19937 azar(semilla);
    if (conJugadores)
        for (int i = 1; i <= NumPersonajes; i += 3) p.Personajes[static_cast<std::size_t>(i)].Controlado = true;
    p.Tecla(Tecla::Enter, 0);
    long antes = MemoriaResidenteKiB();
    bool bien = Juega(p, partidas / 10, azar, conJugadores);
    long medio = MemoriaResidenteKiB();
    bien = bien && Juega(p, partidas - partidas / 10, azar, conJugadores);
    long despues = MemoriaResidenteKiB();
    std::printf("%-24s %8ld games  RSS %ld KiB -> %ld KiB (after 10%%) -> %ld KiB  %s\n", nombre, partidas, antes,
                medio, despues, bien ? "ok" : "FAILED");
    return bien;
}

}  // namespace
}  // namespace veldrisa

int main(int argc, char** argv) {
    long computadora = argc > 1 ? std::atol(argv[1]) : 100000;
    long jugadores = argc > 2 ? std::atol(argv[2]) : 10000;
    bool bien = veldrisa::Tanda("computer only", computadora, false, 1);
    bien = veldrisa::Tanda("players on random keys", jugadores, true, 2) && bien;
    return bien ? 0 : 1;
}
