// NuevaPartida: the set-up of every game, the first and every one after an ending.
#include "cards/nueva_partida.hpp"

#include <filesystem>

#include "cards/mazo.hpp"

namespace veldrisa {
namespace {

struct Habitacion {
    const char* nombre;
    const char* sonido;
    bool enCarpeta;  // the first two sounds get the folder; the other two are found through the current directory
};

const Habitacion Habitaciones[4] = {
    {"El salón", "fuego.wav", true},
    {"La cocina", "Vaso rompiéndose.mp3", true},
    {"La biblioteca", "Pasar páginas.mp3", false},
    {"El dormitorio", "Ronquido.mp3", false},
};

std::string CarpetaSonidos(const std::string& carpeta) {
    constexpr char separador = std::filesystem::path::preferred_separator;
    if (!carpeta.empty() && carpeta.back() == separador) return carpeta;
    return carpeta + separador;
}

}  // namespace

void NuevaPartida(Form1& f) {
    Mesa& m = f.mesa;
    Folders& carpetas = f.plataforma.folders;
    std::string carpeta = carpetas.programFolder();
    carpetas.setCurrentDirectory(carpeta);
    CreaVoces(f.voz);
    std::string sonidos = CarpetaSonidos(carpeta);
    for (int s = 1; s <= 4; ++s) {
        const Habitacion& h = Habitaciones[s - 1];
        f.Sonido(s).setFileName(h.enCarpeta ? sonidos + h.sonido : std::string(h.sonido));
    }
    for (int s = 1; s <= 4; ++s) {
        m.SalaAbierta[s] = true;
        m.NombreSala[s] = Habitaciones[s - 1].nombre;
    }
    m.NumSalas = 4;
    m.NombreSala[SinSala] = "Indeterminado";
    m.SalaAbierta[SinSala] = false;
    CargaDatos(f);
    m.Fase = Fases::Informe;
    m.Heredero = static_cast<std::int16_t>(f.rnd.Entre1Y(NumPersonajes));
}

void NuevaPartidaTrasFin(Form1& f) {
    for (int i = 1; i <= NumPersonajes; ++i) f.P(i).Vivo = true;
    NuevaPartida(f);
}

}  // namespace veldrisa
