// Load and key handling of the setup screen.
#include "setup/formini.hpp"

#include "common/unicode.hpp"
#include "ports/keys.hpp"

namespace veldrisa {
namespace {

const char* Estado(const Personaje& p) { return p.Controlado ? "Seleccionado" : "No seleccionado"; }

Personaje& Actual(FormIni& f) { return f.Personajes[static_cast<std::size_t>(f.PersonajeActual)]; }

void AnunciaPersonaje(FormIni& f, bool esperaAntes) {
    Personaje& p = Actual(f);
    Habla(f.voz, p.Nombre + Estado(p), esperaAntes, false);
}

void Mueve(FormIni& f, int paso) {
    f.PersonajeActual = static_cast<std::int16_t>(f.PersonajeActual + paso);
    if (f.PersonajeActual < 1) f.PersonajeActual = NumPersonajes;
    if (f.PersonajeActual > NumPersonajes) f.PersonajeActual = 1;
    AnunciaPersonaje(f, false);
}

void Selecciona(FormIni& f) {
    Personaje& p = Actual(f);
    p.Controlado = !p.Controlado;
    Habla(f.voz, Estado(p), false, false);
    if (p.Controlado) Habla(f.voz, "Pulse f2 si desea cambiar el nombre del personaje", true, false);
}

void Renombra(FormIni& f) {
    constexpr std::string_view Titulo = "Cambiar el nombre al personaje";
    constexpr std::string_view Indicacion = "Escriba el nombre del personaje y pulse enter:";
    Personaje& p = Actual(f);
    Habla(f.voz, "Escriba el nombre del personaje y pulse enter: " + p.Nombre, false, false);
    f.Campo = AbreCampo(std::string(Titulo), std::string(Indicacion), p.Nombre);
    if (f.voz.observador) f.voz.observador->dialogOpened(Titulo, Indicacion, p.Nombre);
}

// Keys go to the open field; Alt+F4 still closes the window.
SalidaFormIni TeclaEnCampo(FormIni& f, int tecla, int modificadores) {
    if (tecla == Tecla::F4 && (modificadores & ModAlt)) return SalidaFormIni::Cierra;
    switch (TeclaCampo(f.voz, *f.Campo, tecla, modificadores)) {
        case SalidaCampo::Acepta: {
            // A name that cannot be seen or heard is no name: it counts as cancelling.
            std::string nombre = TieneVisibles(f.Campo->Texto) ? f.Campo->Texto : "";
            RespondeFormIni(f, std::move(nombre));
            break;
        }
        case SalidaCampo::Cancela: RespondeFormIni(f, ""); break;
        case SalidaCampo::Sigue: break;
    }
    return SalidaFormIni::Sigue;
}

}  // namespace

void CargaFormIni(FormIni& f) {
    CreaVoces(f.voz);
    BuscaVoces(f.voz);
    f.voz.VozActual = 0;
    CreaPersonajes(f.Personajes, f.rnd);
    f.PersonajeActual = 1;
    Personaje& p = Actual(f);
    Habla(f.voz,
          "La fortuna de Veldrisa. Escoja los personajes que desea controlar y pulse Enter cuando "
          "esté listo. " +
              p.Nombre + Estado(p),
          false, false);
}

LineaAyuda AyudaFormIni() {
    LineaAyuda linea{{"Flechas", "elegir personaje"},
                     {"Espacio", "seleccionar"},
                     {"F2", "cambiar el nombre"},
                     {"Enter", "empezar"},
                     {"F1", "ayuda"}};
    AgregaTeclasComunes(linea);
    return linea;
}

void EscribeFormIni(FormIni& f, std::string_view texto) {
    if (f.Campo) EscribeEnCampo(f.voz, *f.Campo, texto);
}

void RespondeFormIni(FormIni& f, std::string nombre) {
    f.Campo.reset();
    if (nombre.empty()) {
        Habla(f.voz, "Cancelado", false, false);
        return;
    }
    Actual(f).Nombre = std::move(nombre);
    AnunciaPersonaje(f, true);
}

SalidaFormIni TeclaFormIni(FormIni& f, int tecla, int modificadores) {
    if (f.Campo) return TeclaEnCampo(f, tecla, modificadores);
    switch (tecla) {
        case Tecla::Izquierda:
        case Tecla::Arriba: Mueve(f, -1); break;
        case Tecla::Derecha:
        case Tecla::Abajo: Mueve(f, +1); break;
        case Tecla::Espacio: Selecciona(f); break;
        case Tecla::F2: Renombra(f); break;
        case Tecla::Escape: return SalidaFormIni::Cierra;
        case Tecla::Enter: return SalidaFormIni::AbreJuego;
        case Tecla::F4:
            // Alt+F4 closes the window like its close button.
            if (modificadores & ModAlt) return SalidaFormIni::Cierra;
            break;
        default: TeclaVoz(f.voz, tecla, modificadores); break;
    }
    return SalidaFormIni::Sigue;
}

}  // namespace veldrisa
