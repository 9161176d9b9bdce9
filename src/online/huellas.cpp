// The confirmed certificates' file: one "server fingerprint" line each.
#include "online/huellas.hpp"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace veldrisa {
namespace {

constexpr std::size_t LargoHuella = 64;

bool EsHuella(std::string_view h) {
    if (h.size() != LargoHuella) return false;
    for (char c : h)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

}  // namespace

Huellas::Huellas(std::string archivo) : archivo_(std::move(archivo)) {
    if (archivo_.empty()) return;
    std::ifstream entrada(std::filesystem::u8path(archivo_));
    std::string servidor, huella;
    // A damaged line is skipped: the player is asked again for that server.
    while (entrada >> servidor >> huella)
        if (EsHuella(huella)) huellas_[servidor] = huella;
}

std::string Huellas::Busca(const std::string& servidor) const {
    auto h = huellas_.find(servidor);
    return h == huellas_.end() ? std::string() : h->second;
}

bool Huellas::Guarda(const std::string& servidor, const std::string& huella) {
    huellas_[servidor] = huella;
    if (archivo_.empty()) return false;
    const auto ruta = std::filesystem::u8path(archivo_);
    std::error_code error;
    std::filesystem::create_directories(ruta.parent_path(), error);
    // Written beside the file and renamed over it, so that a crash leaves the old file whole.
    auto temporal = ruta;
    temporal += ".nuevo";
    {
        std::ofstream salida(temporal, std::ios::trunc);
        for (const auto& [s, h] : huellas_) salida << s << ' ' << h << '\n';
        if (!salida.flush()) return false;
    }
    std::filesystem::rename(temporal, ruta, error);
    return !error;
}

std::string HuellaHablada(std::string_view huella) {
    std::string texto;
    for (std::size_t i = 0; i < huella.size(); i += 4) {
        if (i > 0) texto += ", ";
        texto += huella.substr(i, 4);
    }
    return texto;
}

}  // namespace veldrisa
