// The online client's keys at each step, its help lines and what its window shows.
#include <algorithm>

#include "online/cliente.hpp"
#include "online/textos.hpp"
#include "ports/keys.hpp"

namespace veldrisa {
namespace {

bool Sale(int tecla, int modificadores) { return tecla == Tecla::F4 && (modificadores & ModAlt); }
bool Atras(int tecla) { return tecla == Tecla::Izquierda || tecla == Tecla::Arriba; }
bool Adelante(int tecla) { return tecla == Tecla::Derecha || tecla == Tecla::Abajo; }

std::string NombreTeclaJuego(int tecla) {
    if (tecla >= Tecla::Cero && tecla <= Tecla::Nueve) return std::string(1, static_cast<char>(tecla));
    if (tecla >= Tecla::DigitoNumerico(0) && tecla <= Tecla::DigitoNumerico(9))
        return std::string(1, static_cast<char>('0' + tecla - Tecla::Numerico0));
    switch (tecla) {
        case Tecla::Espacio: return "SPACE";
        case Tecla::F1: return "F1";
        case Tecla::F2: return "F2";
        case Tecla::F6: return "F6";
        case Tecla::C: return "C";
        case Tecla::P: return "P";
        case Tecla::H: return "H";
        default: return {};
    }
}

// The keys every step shares, after its own; Escape says what it does there.
LineaAyuda ConComunes(LineaAyuda linea, const char* escape) {
    AgregaTeclasComunes(linea);
    for (TeclaAyuda& t : linea)
        if (t.teclas == "Escape") t.accion = escape;
    return linea;
}

}  // namespace

SalidaEnLinea Cliente::Tecla(int tecla, int modificadores) {
    if (Sale(tecla, modificadores)) return SalidaEnLinea::Sale;
    if (campo_) {
        switch (TeclaCampo(voz_, *campo_, tecla, modificadores)) {
            case SalidaCampo::Acepta: Responde(campo_->Texto); break;
            case SalidaCampo::Cancela: Responde(""); break;
            case SalidaCampo::Sigue: break;
        }
        return paso_ == PasoEnLinea::Fuera ? SalidaEnLinea::Vuelve : SalidaEnLinea::Sigue;
    }
    if (tecla == Tecla::F5) {
        RepiteMensaje(voz_);
        return SalidaEnLinea::Sigue;
    }
    return TeclaPaso(tecla, modificadores);
}

SalidaEnLinea Cliente::TeclaPaso(int tecla, int modificadores) {
    const bool escape = tecla == Tecla::Escape;
    switch (paso_) {
        case PasoEnLinea::Lista:
            if (escape) {
                conexion_.close();
                return SalidaEnLinea::Sale;
            }
            TeclaLista(tecla);
            break;
        case PasoEnLinea::NuevaMesa:
        case PasoEnLinea::NuevoLimite: TeclaNuevaMesa(tecla); break;
        case PasoEnLinea::Mesa: TeclaMesa(tecla); break;
        case PasoEnLinea::Juego: TeclaJuego(tecla, modificadores); break;
        case PasoEnLinea::Huella:
            if (tecla == Tecla::Enter) {
                if (!huellas_.Guarda(direccion_.Texto(), huellaNueva_))
                    Habla(voz_,
                          "No se ha podido guardar la huella: se le volverá a preguntar la próxima vez.",
                          false, false);
                paso_ = PasoEnLinea::Conectando;
                Saluda();
            } else if (escape) {
                Habla(voz_, "No se ha conectado.", false, false);
                PideDireccion();
            }
            break;
        case PasoEnLinea::Conectando:
        case PasoEnLinea::Reconectando:
            if (escape) {
                conexion_.close();
                token_.clear();
                Habla(voz_, "Cancelado", false, false);
                paso_ = PasoEnLinea::Fuera;
                return SalidaEnLinea::Vuelve;
            }
            break;
        default: break;
    }
    if (!escape) TeclaVoz(voz_, tecla, modificadores);
    return SalidaEnLinea::Sigue;
}

void Cliente::TeclaLista(int tecla) {
    if (Atras(tecla)) return MueveMesa(-1);
    if (Adelante(tecla)) return MueveMesa(+1);
    switch (tecla) {
        case Tecla::Enter: return Unirse(false);
        case 'E': return Unirse(true);
        case 'R': return Envia(MensajeListaMesas());
        case 'N':
            paso_ = PasoEnLinea::NuevaMesa;
            nuevaPrivada_ = false;
            nuevoLimite_ = 0;
            return Habla(voz_,
                         "Nueva mesa: pública. Flechas para elegir pública o privada, Enter para seguir.",
                         false, false);
        default: return;
    }
}

void Cliente::MueveMesa(int paso) {
    if (mesas_.empty()) return Habla(voz_, "No hay ninguna mesa.", false, false);
    const auto n = static_cast<int>(mesas_.size());
    cursorMesa_ = static_cast<std::size_t>((static_cast<int>(cursorMesa_) + paso + n) % n);
    Habla(voz_, DescribeMesa(mesas_[cursorMesa_]), false, false);
}

void Cliente::Unirse(bool espectador) {
    if (cursorMesa_ >= mesas_.size()) return Habla(voz_, "No hay ninguna mesa.", false, false);
    const MesaEnLista& m = mesas_[cursorMesa_];
    if (m.empezada && !espectador)
        return Habla(voz_, "Esa mesa ya está en juego: pulse E para mirarla.", false, false);
    espectador_ = espectador;
    if (!m.privada) return Envia(MensajeUnirse(m.id, espectador, nombre_, ""));
    Pide(Pregunta::CodigoUnirse, "Mesa privada", "Escriba el código de la mesa y pulse enter:", "");
}

void Cliente::TeclaNuevaMesa(int tecla) {
    const bool eligeLimite = paso_ == PasoEnLinea::NuevoLimite;
    if (tecla == Tecla::Escape) {
        paso_ = PasoEnLinea::Lista;
        return Habla(voz_, "Cancelado", false, false);
    }
    if (Atras(tecla) || Adelante(tecla)) {
        if (!eligeLimite) {
            nuevaPrivada_ = !nuevaPrivada_;
            return Habla(voz_, nuevaPrivada_ ? "Privada" : "Pública", false, false);
        }
        nuevoLimite_ =
            (nuevoLimite_ + (Atras(tecla) ? LimitesDeTiempo.size() - 1 : 1)) % LimitesDeTiempo.size();
        return Habla(voz_, DescribeLimite(LimitesDeTiempo[nuevoLimite_]), false, false);
    }
    if (tecla != Tecla::Enter) return;
    if (eligeLimite) {
        paso_ = PasoEnLinea::Lista;
        return Envia(MensajeCreaMesa(nombre_, nuevaPrivada_, nuevoCodigo_, LimitesDeTiempo[nuevoLimite_]));
    }
    nuevoCodigo_.clear();
    if (nuevaPrivada_)
        return Pide(Pregunta::CodigoNueva, "Mesa privada",
                    "Escriba el código de la mesa, de 4 a 12 letras o cifras, y pulse enter:", "");
    paso_ = PasoEnLinea::NuevoLimite;
    Habla(voz_, "Límite de tiempo para cada elección: " + DescribeLimite(LimitesDeTiempo[nuevoLimite_]),
          false, false);
}

void Cliente::TeclaMesa(int tecla) {
    if (Atras(tecla)) return MuevePersonaje(-1);
    if (Adelante(tecla)) return MuevePersonaje(+1);
    const PersonajeEnMesa& p = mesa_.personajes[static_cast<std::size_t>(cursorPersonaje_ - 1)];
    switch (tecla) {
        case Tecla::Escape:
            Envia(MensajeDeja());
            Habla(voz_, "Ha dejado la mesa.", false, false);
            return AbreLista();
        case Tecla::Espacio:
            if (mesa_.espectador) return Habla(voz_, "Quien mira la mesa no elige personajes.", false, false);
            if (p.suyo) return Envia(MensajeSuelta(cursorPersonaje_));
            if (!p.jugador.empty())
                return Habla(voz_, "Ese personaje ya lo controla " + p.jugador + ".", false, false);
            return Envia(MensajeReclama(cursorPersonaje_));
        case Tecla::F2:
            if (!p.suyo) return Habla(voz_, "Sólo puede cambiar el nombre de sus personajes.", false, false);
            return Pide(Pregunta::NombrePersonaje, "Cambiar el nombre al personaje",
                        "Escriba el nombre del personaje y pulse enter:", p.nombre);
        case Tecla::Enter:
            if (!mesa_.creador) return Habla(voz_, "La partida la empieza quien creó la mesa.", false, false);
            return Envia(MensajeEmpieza());
        default: return;
    }
}

void Cliente::MuevePersonaje(int paso) {
    cursorPersonaje_ = (cursorPersonaje_ - 1 + paso + 10) % 10 + 1;
    Habla(voz_, DescribePersonaje(mesa_.personajes[static_cast<std::size_t>(cursorPersonaje_ - 1)]), false,
          false);
}

// The voice and history keys stay here; the game's keys go to the server, which answers.
void Cliente::TeclaJuego(int tecla, int modificadores) {
    if (tecla == Tecla::Escape) {
        Envia(MensajeDeja());
        Habla(voz_, "Ha dejado la mesa: el ordenador juega con sus personajes.", false, false);
        return AbreLista();
    }
    const std::string nombre = NombreTeclaJuego(tecla);
    if (nombre.empty()) return;
    if (mesa_.espectador && tecla != Tecla::F1)
        return Habla(voz_, "Quien mira la mesa sólo escucha.", false, false);
    if (mesa_.espectador) {
        Dice(voz_, AyudaHablada(Ayuda()));
        return;
    }
    Envia(MensajeTecla(nombre, (modificadores & ModControl) != 0));
}

LineaAyuda Cliente::Ayuda() const {
    switch (paso_) {
        case PasoEnLinea::Lista:
            return ConComunes({{"Flechas", "elegir mesa"},
                               {"Enter", "jugar en la mesa"},
                               {"E", "mirar la mesa"},
                               {"N", "nueva mesa"},
                               {"R", "ver la lista de nuevo"},
                               {"F5", "repetir"},
                               {"F1", "ayuda"}},
                              "salir del juego");
        case PasoEnLinea::NuevaMesa:
        case PasoEnLinea::NuevoLimite:
            return ConComunes(
                {{"Flechas", paso_ == PasoEnLinea::NuevaMesa ? "pública o privada" : "límite de tiempo"},
                 {"Enter", "seguir"},
                 {"F1", "ayuda"}},
                "cancelar");
        case PasoEnLinea::Mesa:
            return ConComunes({{"Flechas", "elegir personaje"},
                               {"Espacio", "jugar con él o dejarlo"},
                               {"F2", "cambiar el nombre"},
                               {"Enter", "empezar, quien creó la mesa"},
                               {"F5", "repetir"},
                               {"F1", "ayuda"}},
                              "dejar la mesa");
        case PasoEnLinea::Juego:
            return ConComunes({{"Las teclas del juego", "como en la partida local"},
                               {"F1", "las teclas de este momento"},
                               {"F5", "repetir"}},
                              "dejar la mesa");
        case PasoEnLinea::Huella:
            return ConComunes({{"Enter", "confiar en el certificado"}, {"F5", "repetir"}, {"F1", "ayuda"}},
                              "no conectar");
        default: return ConComunes({{"F5", "repetir"}, {"F1", "ayuda"}}, "cancelar");
    }
}

View Cliente::Vista() const {
    View view;
    const std::string ayuda = AyudaEscrita(Ayuda());
    if (paso_ == PasoEnLinea::Mesa) {
        SetupView s;
        for (std::size_t i = 0; i < s.names.size(); ++i) {
            const PersonajeEnMesa& p = mesa_.personajes[i];
            // The player first: the window shortens a long name from its end.
            s.names[i] = p.jugador.empty() || p.suyo ? p.nombre : "(" + p.jugador + ") " + p.nombre;
            s.selected[i] = p.suyo;
        }
        s.cursor = cursorPersonaje_;
        s.help = ayuda;
        view.screen = s;
    } else if (paso_ == PasoEnLinea::Juego) {
        view.screen = LogView{log_, ayuda};
    } else if (paso_ == PasoEnLinea::Lista) {
        std::string texto = mesas_.empty() ? "Mesas\r\nNo hay ninguna mesa.\r\n" : "Mesas\r\n";
        for (std::size_t i = 0; i < mesas_.size(); ++i)
            texto += (i == cursorMesa_ ? "> " : "  ") + DescribeMesa(mesas_[i]) + "\r\n";
        view.screen = LogView{texto, ayuda};
    } else {
        view.screen = LogView{estado_, ayuda};
    }
    return view;
}

}  // namespace veldrisa
