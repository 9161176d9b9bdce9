// The online client's texts.
#include "online/textos.hpp"

#include "online/huellas.hpp"

namespace veldrisa {
namespace {

std::string Cuenta(int n, const char* singular, const char* plural) {
    return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

}  // namespace

std::string DescribeLimite(int segundos) {
    return segundos == 0 ? "sin límite de tiempo" : std::to_string(segundos) + " segundos por elección";
}

std::string DescribeMesa(const MesaEnLista& m) {
    std::string t = "Mesa " + m.id + (m.privada ? ", privada" : ", pública");
    if (m.empezada) t += ", en juego";
    t += ", " + Cuenta(m.jugadores, "jugador", "jugadores");
    t += ", " + Cuenta(m.espectadores, "espectador", "espectadores");
    if (!m.empezada) t += ", " + Cuenta(m.libres, "personaje libre", "personajes libres");
    return t + ", " + DescribeLimite(m.limite);
}

std::string DescribePersonaje(const PersonajeEnMesa& p) {
    if (p.suyo) return p.nombre + ", suyo";
    return p.nombre + (p.jugador.empty() ? ", libre" : ", de " + p.jugador);
}

std::string TextoFallo(ConnectionFault fallo, const std::string& servidor) {
    switch (fallo) {
        case ConnectionFault::NoServer:
            return "No se encuentra ningún servidor en la dirección " + servidor + ".";
        case ConnectionFault::Refused:
            return "El servidor " + servidor +
                   " rechaza la conexión: no está en marcha o el puerto no es ese.";
        case ConnectionFault::TimedOut: return "El servidor " + servidor + " no contesta.";
        case ConnectionFault::Certificate:
            return "No se ha podido establecer una conexión segura con el servidor " + servidor + ".";
        case ConnectionFault::Protocol:
            return "En " + servidor + " no hay un servidor de La fortuna de Veldrisa, o usa otra versión.";
        case ConnectionFault::Lost: return "Se ha perdido la conexión con el servidor " + servidor + ".";
    }
    return "Se ha perdido la conexión con el servidor " + servidor + ".";
}

std::string TextoHuellaNueva(const std::string& servidor, const std::string& huella) {
    return "El servidor " + servidor +
           " usa un certificado propio, que ninguna autoridad reconocida respalda. Su huella es: " +
           HuellaHablada(huella) +
           ". Si coincide con la que le ha dado quien lleva el servidor, pulse Enter para confiar en él; "
           "pulse Escape para no conectar.";
}

std::string TextoHuellaCambiada(const std::string& servidor, const std::string& archivo) {
    return "¡Atención! El certificado del servidor " + servidor +
           " no es el que usted confirmó: alguien podría estar haciéndose pasar por él. No se ha conectado. "
           "Si quien lleva el servidor le confirma que lo ha cambiado, borre su línea del archivo " +
           archivo + " y vuelva a conectar.";
}

}  // namespace veldrisa
