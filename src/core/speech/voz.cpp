// Habla and the voice controls shared by the setup screen and the game window.
#include "speech/voz.hpp"

#include "common/unicode.hpp"
#include "ports/keys.hpp"

namespace veldrisa {
namespace {

constexpr int RateMinimo = -50;
constexpr int RateMaximo = 50;

int Paso(int modificadores) {
    return (modificadores & (ModShift | ModControl | ModAlt)) != 0 ? 1 : 5;
}

void Dirige(Voz& v, int audiencia) {
    v.Audiencia = audiencia;
    if (v.observador) v.observador->addressedTo(audiencia);
}

void SeleccionaYAnuncia(Voz& v) {
    v.motor->selectVoice(v.VozActual);
    Habla(v, v.Voces[static_cast<std::size_t>(v.VozActual)], false, false);
}

}  // namespace

Destinatario::Destinatario(Voz& v, int audiencia) : voz_(v), anterior_(v.Audiencia) { Dirige(v, audiencia); }

Destinatario::~Destinatario() { Dirige(voz_, anterior_); }

void CreaVoces(Voz& v) { v.motor->createVoice(); }

void BuscaVoces(Voz& v) {
    v.motor->createVoice();
    v.Voces.assign(1, "");
    // An empty description is overwritten by the next one: entries are only appended
    // after a non-empty one.
    for (const auto& descripcion : v.motor->voiceDescriptions()) {
        if (!v.Voces.back().empty()) v.Voces.emplace_back();
        v.Voces.back() = descripcion;
    }
}

void Habla(Voz& v, std::string_view texto, bool EsperaAntes, bool EsperaDespues) {
    if (v.observador) v.observador->said(texto, EsperaAntes, EsperaDespues);
    if (MasDeNCaracteres(texto, 2)) v.UltimoMensaje = texto;
    v.historial.Guarda(texto);
    if (EsperaAntes) v.motor->waitUntilDone();
    Pronuncia(v, texto);
    if (EsperaDespues) v.motor->waitUntilDone();
}

void Pronuncia(Voz& v, std::string_view texto) { v.motor->speak(Minusculas(texto)); }

void Dice(Voz& v, std::string_view texto) {
    if (v.observador) v.observador->said(texto, false, false);
    Pronuncia(v, texto);
}

void BajaVelocidad(Voz& v, int modificadores) {
    int rate = v.motor->rate();
    if (rate <= RateMinimo) {
        Habla(v, "Velocidad mínima", false, false);
        return;
    }
    v.motor->setRate(rate - Paso(modificadores));
    Habla(v, "Velocidad de la voz más lenta", false, false);
}

void SubeVelocidad(Voz& v, int modificadores) {
    int rate = v.motor->rate();
    if (rate >= RateMaximo) {
        Habla(v, "Velocidad máxima", false, false);
        return;
    }
    v.motor->setRate(rate + Paso(modificadores));
    Habla(v, "Velocidad de la voz más rápida", false, false);
}

void VozAnterior(Voz& v) {
    --v.VozActual;
    if (v.VozActual < 0) v.VozActual = static_cast<int>(v.Voces.size()) - 1;
    SeleccionaYAnuncia(v);
}

void VozSiguiente(Voz& v) {
    ++v.VozActual;
    if (v.VozActual > static_cast<int>(v.Voces.size()) - 1) v.VozActual = 0;
    SeleccionaYAnuncia(v);
}

void RepiteMensaje(Voz& v) {
    // A copy: speaking the last message sets the last message again.
    const std::string mensaje = v.UltimoMensaje;
    Habla(v, mensaje, false, false);
}

void Calla(Voz& v) {
    // Heard as the empty message: it brings the history's browsing back to the newest, though
    // the engine is only told to fall silent.
    if (v.observador) v.observador->said("", false, false);
    v.historial.Guarda("");
    v.motor->stop();
}

void MensajeAnterior(Voz& v) { Dice(v, v.historial.Anterior()); }
void MensajeSiguiente(Voz& v) { Dice(v, v.historial.Siguiente()); }
void PrimerMensaje(Voz& v) { Dice(v, v.historial.Primero()); }
void MensajeMasReciente(Voz& v) { Dice(v, v.historial.MasReciente()); }

bool TeclaVoz(Voz& v, int tecla, int modificadores) {
    switch (tecla) {
    case Tecla::Control: Calla(v); return true;
    case Tecla::F7: BajaVelocidad(v, modificadores); return true;
    case Tecla::F8: SubeVelocidad(v, modificadores); return true;
    case Tecla::F9: VozAnterior(v); return true;
    case Tecla::F10: VozSiguiente(v); return true;
    default: return false;
    }
}

}  // namespace veldrisa
