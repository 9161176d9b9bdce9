// Start-up and the hand-over from the setup screen to the game window.
#include "app/programa.hpp"

#include <algorithm>

#include "cards/nueva_partida.hpp"
#include "common/texto.hpp"
#include "play/despachador.hpp"
#include "ports/keys.hpp"

namespace veldrisa {
namespace {

// The room sounds go from off to their own loudness in steps of a tenth.
constexpr int PasoNivelSonidos = 10;
constexpr int NivelSonidosMaximo = 100;
// Inside Programa, Tecla names its member function.
namespace Teclas = veldrisa::Tecla;

}  // namespace

Programa::Programa(Platform& p)
    : plataforma(p), voz{&p.speech, p.observer}, formIni{voz, Personajes, rnd, 0, {}}, form1{voz,
                                                                                             Personajes,
                                                                                             rnd,
                                                                                             p,
                                                                                             Mesa{},
                                                                                             false} {}

void Programa::PermiteEnLinea(Connection& conexion, OpcionesEnLinea opciones) {
    enLinea_ = std::make_unique<Cliente>(voz, plataforma, conexion, std::move(opciones));
}

const CampoTexto* Programa::Campo() const {
    if (pantalla_ == Pantalla::EnLinea) return enLinea_->Campo();
    return formIni.Campo ? &*formIni.Campo : nullptr;
}

void Programa::Red() {
    if (pantalla_ == Pantalla::EnLinea) enLinea_->Red();
}

bool Programa::Inicia() {
    // Without a voice nothing could ever be heard: refuse before anything is spoken.
    if (!plataforma.speech.available()) return false;

    pantalla_ = Pantalla::Inicio;
    if (plataforma.observer) plataforma.observer->screenOpened("setup");
    CargaFormIni(formIni);
    return true;
}

LineaAyuda Programa::Ayuda() {
    if (Campo()) return AyudaCampo();
    switch (pantalla_) {
        case Pantalla::Inicio: {
            LineaAyuda linea = AyudaFormIni();
            if (enLinea_) linea.insert(linea.begin() + 4, {"F3", "jugar en línea"});
            return linea;
        }
        case Pantalla::EnLinea: return enLinea_->Ayuda();
        case Pantalla::Juego: return AyudaForm1(form1);
        default: return {};
    }
}

bool Programa::TeclaComun(int tecla) {
    switch (tecla) {
        case Teclas::F1: {
            // Online, only the seat that asked hears which keys work.
            Destinatario solo(voz, Audiencia::QuienPulsa);
            DiAyuda(voz, Ayuda());
            return true;
        }
        case Teclas::RePag: MensajeAnterior(voz); return true;
        case Teclas::AvPag: MensajeSiguiente(voz); return true;
        case Teclas::Inicio: PrimerMensaje(voz); return true;
        case Teclas::Fin: MensajeMasReciente(voz); return true;
        case Teclas::F11: CambiaNivelSonidos(-PasoNivelSonidos); return true;
        case Teclas::F12: CambiaNivelSonidos(+PasoNivelSonidos); return true;
        default: return false;
    }
}

// The level is said like the key help, not as a message of the game: F5 and the history keep
// what the game said last.
void Programa::CambiaNivelSonidos(int paso) {
    const int nivel = std::clamp(NivelSonidos + paso, 0, NivelSonidosMaximo);
    if (nivel == NivelSonidos) {
        Dice(voz, nivel == 0 ? "Sonidos apagados" : "Sonidos al máximo");
        return;
    }
    NivelSonidos = nivel;
    for (SoundPlayer* sonido : plataforma.sounds) sonido->setVolume(nivel);
    Dice(voz, nivel == 0 ? "Sonidos apagados" : Une("Sonidos al ", std::to_string(nivel), " %"));
}

void Programa::Texto(std::string_view texto) {
    if (pantalla_ == Pantalla::Inicio) EscribeFormIni(formIni, texto);
    if (pantalla_ == Pantalla::EnLinea) enLinea_->Texto(texto);
}

void Programa::Responde(std::string texto) {
    if (pantalla_ == Pantalla::EnLinea) {
        enLinea_->Responde(std::move(texto));
        if (enLinea_->paso() == PasoEnLinea::Fuera) VuelveAInicio();
        return;
    }
    if (Campo()) RespondeFormIni(formIni, std::move(texto));
}

void Programa::Tecla(int tecla, int modificadores) {
    // The open field takes every key: Home and End move its cursor, not through the history.
    if ((pantalla_ == Pantalla::Inicio || pantalla_ == Pantalla::Juego) && !Campo() && TeclaComun(tecla))
        return;
    switch (pantalla_) {
        case Pantalla::Inicio:
            if (enLinea_ && tecla == Teclas::F3 && !Campo()) {
                pantalla_ = Pantalla::EnLinea;
                if (plataforma.observer) plataforma.observer->screenOpened("online");
                enLinea_->Entra();
                break;
            }
            switch (TeclaFormIni(formIni, tecla, modificadores)) {
                case SalidaFormIni::AbreJuego: AbreJuego(); break;
                case SalidaFormIni::Cierra: pantalla_ = Pantalla::Terminada; break;
                case SalidaFormIni::Sigue: break;
            }
            break;
        case Pantalla::Juego:
            TeclaForm1(form1, tecla, modificadores);
            if (form1.Cerrada) pantalla_ = Pantalla::Terminada;
            break;
        case Pantalla::EnLinea: TeclaEnLinea(tecla, modificadores); break;
        case Pantalla::Ninguna:
        case Pantalla::Terminada: break;
    }
}

// Online, F1 in the game goes to the server, which knows the keys of the moment.
void Programa::TeclaEnLinea(int tecla, int modificadores) {
    if (!Campo() && !(tecla == Teclas::F1 && enLinea_->EnJuego()) && TeclaComun(tecla)) return;
    switch (enLinea_->Tecla(tecla, modificadores)) {
        case SalidaEnLinea::Vuelve: VuelveAInicio(); break;
        case SalidaEnLinea::Sale: pantalla_ = Pantalla::Terminada; break;
        case SalidaEnLinea::Sigue: break;
    }
}

// Back from the online tables, the setup screen as it opens at start.
void Programa::VuelveAInicio() {
    pantalla_ = Pantalla::Inicio;
    if (plataforma.observer) plataforma.observer->screenOpened("setup");
    CargaFormIni(formIni);
}

void Programa::AbreJuego() {
    pantalla_ = Pantalla::Juego;
    formIni.PersonajeActual = 0;
    if (plataforma.observer) plataforma.observer->screenOpened("game");
    NuevaPartida(form1);
}

}  // namespace veldrisa
