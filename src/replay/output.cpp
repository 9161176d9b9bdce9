// Turning recorded events and the program's state into JSON lines.
#include "replay/output.hpp"

#include "replay/json.hpp"

namespace veldrisa {
namespace {

std::string Number(std::int64_t n) { return std::to_string(n); }

const char* SoundOp(EventKind k) {
    switch (k) {
    case EventKind::SoundFile: return "file";
    case EventKind::SoundPlay: return "play";
    case EventKind::SoundVolume: return "volume";
    default: return "stop";
    }
}

std::string PersonajeJson(const Personaje& p) {
    return JsonObject{}
        .text("Nombre", p.Nombre)
        .flag("Controlado", p.Controlado)
        .flag("Agresivo", p.Agresivo)
        .flag("Vivo", p.Vivo)
        .flag("Descarta", p.Descarta)
        .number("Sala", p.Sala)
        .number("Carta1", p.Carta1)
        .number("Carta2", p.Carta2)
        .number("CartaElegida", p.CartaElegida)
        .number("Objetivo", p.Objetivo)
        .str();
}

const char* ScreenName(Pantalla p) { return p == Pantalla::Juego ? "game" : "setup"; }

}  // namespace

std::optional<std::string> EventJson(const Event& e) {
    JsonObject o;
    switch (e.kind) {
    case EventKind::Said:
        return o.text("ev", "say").text("text", e.text).flag("before", e.before).flag("after", e.after).str();
    case EventKind::SoundFile:
    case EventKind::SoundPlay:
    case EventKind::SoundStop:
    case EventKind::SoundVolume:
        o.text("ev", "sound").number("player", e.number).text("op", SoundOp(e.kind));
        if (e.kind == EventKind::SoundFile) o.text("name", e.text);
        if (e.kind == EventKind::SoundVolume) o.number("level", e.level);
        return o.str();
    case EventKind::Beep: return o.text("ev", "beep").str();
    case EventKind::Dialog:
        return o.text("ev", "dialog").text("title", e.text).text("prompt", e.prompt).text("text", e.initial).str();
    case EventKind::Screen: return o.text("ev", "screen").text("name", e.text).str();
    case EventKind::Spoke:
    case EventKind::Stopped:
    case EventKind::Waited:
    case EventKind::VoiceCreated:
    case EventKind::VoiceSelected:
    case EventKind::RateSet:
    case EventKind::Seeded:
    case EventKind::DirectoryChanged:
    case EventKind::Addressed:
    case EventKind::Turn: break;
    }
    return std::nullopt;
}

std::string LogJson(const std::string& label) { return JsonObject{}.text("ev", "log").text("text", label).str(); }

std::string ExitJson() { return JsonObject{}.text("ev", "exit").str(); }

std::string StateJson(const Programa& programa) {
    const Mesa& m = programa.form1.mesa;
    const Voz& v = programa.voz;
    static constexpr int Salas[] = {1, 2, 3, 4};
    return JsonObject{}
        .text("ev", "state")
        .text("screen", ScreenName(programa.pantalla()))
        .number("PersonajeActual", programa.formIni.PersonajeActual)
        .number("Fase", static_cast<int>(m.Fase))
        .number("Heredero", m.Heredero)
        .number("NumSalas", m.NumSalas)
        .number("Turno", m.Turno)
        .raw("LineaSucesion", JsonArray(m.LineaSucesion.v, Number))
        .raw("Mazo", JsonArray(m.Mazo.v, Number))
        .raw("SalaAbierta", JsonArray(Salas, [&](int s) { return JsonBool(m.SalaAbierta[s]); }))
        .raw("OcupantesSala", JsonArray(Salas, [&](int s) { return JsonString(m.OcupantesSala[s]); }))
        .raw("OrdenDia", JsonArray(m.OrdenDia, Number))
        .flag("DescripcionCorta", m.DescripcionCorta)
        .number("Rate", programa.plataforma.speech.rate())
        .number("VozActual", v.VozActual)
        .raw("Voces", JsonArray(v.Voces, [](const std::string& s) { return JsonString(s); }))
        .text("UltimoMensaje", v.UltimoMensaje)
        .raw("Personajes", JsonArray(programa.Personajes, PersonajeJson))
        .str();
}

}  // namespace veldrisa
