// A self-signed certificate made with OpenSSL, written as PEM files readable by the owner only.
#include "server/certificate.hpp"

#include <fcntl.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>

namespace veldrisa {
namespace {

template <typename T, void (*Free)(T*)>
using Owned = std::unique_ptr<T, decltype([](T* p) { Free(p); })>;

void Check(bool ok, const char* what) {
    if (!ok) throw CertificateError(std::string("no se puede crear el certificado del servidor: ") + what);
}

// Created with its mode from the start: the key is never readable by others, not even for a moment.
template <typename Write>
void WritePem(const std::string& path, mode_t mode, Write write) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, mode);
    std::unique_ptr<FILE, decltype(&std::fclose)> file(fd >= 0 ? fdopen(fd, "w") : nullptr, &std::fclose);
    if (fd >= 0 && !file) close(fd);
    const std::string problem = "no se puede escribir " + path;
    Check(file != nullptr, problem.c_str());
    Check(write(file.get()), problem.c_str());
}

}  // namespace

void EnsureSelfSigned(const std::string& certPath, const std::string& keyPath) {
    if (std::filesystem::exists(certPath) && std::filesystem::exists(keyPath)) return;
    Owned<EVP_PKEY, EVP_PKEY_free> key(EVP_EC_gen("P-256"));
    Check(key != nullptr, "la clave");
    Owned<X509, X509_free> cert(X509_new());
    Check(cert != nullptr, "el certificado");
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), static_cast<long>(std::time(nullptr)));
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), 0);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 10L * 365 * 24 * 3600);
    X509_set_pubkey(cert.get(), key.get());
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("veldrisa local"), -1, -1, 0);
    X509_set_issuer_name(cert.get(), name);
    Check(X509_sign(cert.get(), key.get(), EVP_sha256()) > 0, "la firma");
    WritePem(keyPath, 0600, [&](FILE* f) {
        return PEM_write_PrivateKey(f, key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1;
    });
    WritePem(certPath, 0644, [&](FILE* f) { return PEM_write_X509(f, cert.get()) == 1; });
}

}  // namespace veldrisa
