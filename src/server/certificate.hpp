// The server's TLS certificate: the files given, or a self-signed one made on first start.
#pragma once

#include <stdexcept>
#include <string>

namespace veldrisa {

struct CertificateError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Makes a self-signed certificate and its key for local play (a P-256 key, valid ten years) at
// the two paths, unless both files are already there. Throws CertificateError in plain words.
void EnsureSelfSigned(const std::string& certPath, const std::string& keyPath);

}  // namespace veldrisa
