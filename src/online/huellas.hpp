// The certificates the player has confirmed, one per server, kept in a small file of the player's
// own: a server that shows another certificate later is refused.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace veldrisa {

class Huellas {
public:
    // archivo: the file's path; empty keeps the confirmations for this run only.
    explicit Huellas(std::string archivo);

    // The fingerprint confirmed for the server ("nombre:puerto"), or empty.
    std::string Busca(const std::string& servidor) const;
    // Confirms it, and writes the file again. False when the file could not be written: the
    // confirmation then lasts for this run only.
    bool Guarda(const std::string& servidor, const std::string& huella);

    const std::string& archivo() const { return archivo_; }

private:
    std::string archivo_;
    std::map<std::string, std::string> huellas_;
};

// A fingerprint as it is spoken: its characters in groups of four, "AB12, CD34, ...".
std::string HuellaHablada(std::string_view huella);

}  // namespace veldrisa
