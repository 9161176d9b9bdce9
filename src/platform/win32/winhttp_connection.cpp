// The Windows connection: one thread per connection makes it, checks the certificate and reads
// it; the main thread writes to it. Schannel's own checks are switched off so that a self-signed
// certificate can be shown to the player; the chain is checked here instead, against the
// system's store, and an untrusted certificate goes through only when nothing is pinned (the
// player is then asked) or its fingerprint is the pinned one.
#include "platform/win32/winhttp_connection.hpp"

#include <windows.h>
// These build on windows.h.
#include <bcrypt.h>
#include <wincrypt.h>
#include <winhttp.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/shared/connection_inbox.hpp"
#include "platform/win32/wide_text.hpp"

namespace veldrisa {
namespace {

using Kind = ConnectionEvent::Kind;

constexpr DWORD TimeoutMs = 10000;
// A server message above this ends the connection: the server's largest is a log.
constexpr std::size_t MaxMessageBytes = 1024 * 1024;

ConnectionFault FaultOf(DWORD error) {
    switch (error) {
        case ERROR_WINHTTP_NAME_NOT_RESOLVED: return ConnectionFault::NoServer;
        case ERROR_WINHTTP_CANNOT_CONNECT: return ConnectionFault::Refused;
        case ERROR_WINHTTP_TIMEOUT: return ConnectionFault::TimedOut;
        case ERROR_WINHTTP_SECURE_FAILURE:
        case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
        case ERROR_WINHTTP_SECURE_INVALID_CERT:
        case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
        case ERROR_WINHTTP_CLIENT_CERT_NO_PRIVATE_KEY: return ConnectionFault::Certificate;
        case ERROR_WINHTTP_CONNECTION_ERROR: return ConnectionFault::Lost;
        default: return ConnectionFault::Protocol;
    }
}

std::string Hex(const unsigned char* bytes, std::size_t n) {
    static const char* const digits = "0123456789ABCDEF";
    std::string hex;
    for (std::size_t i = 0; i < n; ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 15];
    }
    return hex;
}

// The certificate's SHA-256 with CNG; empty if CNG fails.
std::string Fingerprint(PCCERT_CONTEXT cert) {
    BCRYPT_ALG_HANDLE alg = nullptr;
    if (BCryptOpenAlgorithmProvider(&alg, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) return {};
    unsigned char digest[32];
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool ok = BCryptCreateHash(alg, &hash, nullptr, 0, nullptr, 0, 0) == 0;
    ok = ok && BCryptHashData(hash, cert->pbCertEncoded, cert->cbCertEncoded, 0) == 0;
    ok = ok && BCryptFinishHash(hash, digest, sizeof digest, 0) == 0;
    if (hash) BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(alg, 0);
    return ok ? Hex(digest, sizeof digest) : std::string();
}

// The system's store vouches for the chain and for the server's name.
bool Trusted(PCCERT_CONTEXT cert, const std::wstring& host) {
    CERT_CHAIN_PARA para{};
    para.cbSize = sizeof para;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    if (!CertGetCertificateChain(nullptr, cert, nullptr, cert->hCertStore, &para, 0, nullptr, &chain))
        return false;
    SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
    ssl.cbSize = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.pwszServerName = const_cast<wchar_t*>(host.c_str());
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof policy;
    policy.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof status;
    const bool ok = CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status) &&
                    status.dwError == 0;
    CertFreeCertificateChain(chain);
    return ok;
}

// One connection, from its delay to its end.
class Link {
public:
    Link(ConnectionInbox& inbox, std::uint64_t generation, std::wstring host, int port, std::string pinned)
        : inbox_(inbox),
          generation_(generation),
          host_(std::move(host)),
          port_(port),
          pinned_(std::move(pinned)) {}

    void run(std::chrono::milliseconds delay) {
        {
            std::unique_lock lock(mutex_);
            if (wake_.wait_for(lock, delay, [this] { return stopped_; })) return;
        }
        if (!connect()) return;
        read();
    }

    void send(const std::string& text) {
        std::lock_guard lock(mutex_);
        if (!socket_ || stopped_) return;
        WinHttpWebSocketSend(socket_, WINHTTP_WEB_SOCKET_UTF8_MESSAGE_BUFFER_TYPE,
                             const_cast<char*>(text.data()), static_cast<DWORD>(text.size()));
    }

    // From the main thread: every handle closed, which ends any call waiting on them. Wine's
    // WinHTTP does not end a receive waiting on a closed handle, so the reader would wait for the
    // server's next message: the close frame sent first has the server answer with its own.
    void stop() {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        if (socket_) WinHttpWebSocketShutdown(socket_, WINHTTP_WEB_SOCKET_SUCCESS_CLOSE_STATUS, nullptr, 0);
        for (HINTERNET* h : {&socket_, &request_, &connection_, &session_})
            if (*h) WinHttpCloseHandle(std::exchange(*h, nullptr));
        wake_.notify_all();
    }

private:
    void fail(ConnectionFault fault, const std::string& detail, const std::string& fingerprint = {}) {
        ConnectionEvent e{Kind::Failed};
        e.fault = fault;
        e.detail = detail;
        e.fingerprint = fingerprint;
        inbox_.push(generation_, std::move(e));
    }
    void failLast(const char* step) {
        const DWORD error = GetLastError();
        fail(FaultOf(error), std::string(step) + ": " + std::to_string(error));
    }

    // The handles are made under the lock, so that stop() finds every one of them.
    bool open() {
        std::lock_guard lock(mutex_);
        if (stopped_) return false;
        session_ = WinHttpOpen(L"veldrisa", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                               WINHTTP_NO_PROXY_BYPASS, 0);
        if (!session_) return false;
        WinHttpSetTimeouts(session_, TimeoutMs, TimeoutMs, TimeoutMs, TimeoutMs);
        connection_ = WinHttpConnect(session_, host_.c_str(), static_cast<INTERNET_PORT>(port_), 0);
        if (!connection_) return false;
        request_ = WinHttpOpenRequest(connection_, L"GET", L"/", nullptr, WINHTTP_NO_REFERER,
                                      WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE);
        if (!request_) return false;
        DWORD flags = SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
                      SECURITY_FLAG_IGNORE_CERT_DATE_INVALID | SECURITY_FLAG_IGNORE_CERT_WRONG_USAGE;
        return WinHttpSetOption(request_, WINHTTP_OPTION_SECURITY_FLAGS, &flags, sizeof flags) &&
               WinHttpSetOption(request_, WINHTTP_OPTION_UPGRADE_TO_WEB_SOCKET, nullptr, 0);
    }

    HINTERNET request() {
        std::lock_guard lock(mutex_);
        return request_;
    }

    bool connect() {
        if (!open()) return failLast("WinHttpOpen"), false;
        HINTERNET request = this->request();
        if (!WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, nullptr, 0, 0, 0) ||
            !WinHttpReceiveResponse(request, nullptr))
            return failLast("WinHttpSendRequest"), false;
        DWORD status = 0, size = sizeof status;
        WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
        if (status != 101) return fail(ConnectionFault::Protocol, "HTTP " + std::to_string(status)), false;
        PCCERT_CONTEXT cert = nullptr;
        size = sizeof cert;
        if (!WinHttpQueryOption(request, WINHTTP_OPTION_SERVER_CERT_CONTEXT, &cert, &size) || !cert)
            return fail(ConnectionFault::Certificate, "no server certificate"), false;
        const std::string fingerprint = Fingerprint(cert);
        const bool trusted = Trusted(cert, host_);
        CertFreeCertificateContext(cert);
        if (fingerprint.empty()) return fail(ConnectionFault::Certificate, "SHA-256 failed"), false;
        if (!trusted && !pinned_.empty() && fingerprint != pinned_)
            return fail(ConnectionFault::Certificate, "certificate changed", fingerprint), false;
        {
            std::lock_guard lock(mutex_);
            if (stopped_) return false;
            socket_ = WinHttpWebSocketCompleteUpgrade(request_, 0);
            WinHttpCloseHandle(std::exchange(request_, nullptr));
            if (!socket_) return failLast("WinHttpWebSocketCompleteUpgrade"), false;
        }
        ConnectionEvent e{Kind::Opened};
        e.fingerprint = fingerprint;
        e.trusted = trusted;
        inbox_.push(generation_, std::move(e));
        return true;
    }

    HINTERNET socket() {
        std::lock_guard lock(mutex_);
        return socket_;
    }

    // Fragments gathered into whole messages until the connection ends.
    void read() {
        std::string message;
        char buffer[16 * 1024];
        for (;;) {
            DWORD got = 0;
            WINHTTP_WEB_SOCKET_BUFFER_TYPE type{};
            const DWORD error = WinHttpWebSocketReceive(socket(), buffer, sizeof buffer, &got, &type);
            if (error != NO_ERROR)
                return fail(ConnectionFault::Lost, "WinHttpWebSocketReceive: " + std::to_string(error));
            if (type == WINHTTP_WEB_SOCKET_CLOSE_BUFFER_TYPE)
                return inbox_.push(generation_, ConnectionEvent{Kind::Closed});
            message.append(buffer, got);
            if (message.size() > MaxMessageBytes) return fail(ConnectionFault::Protocol, "message too large");
            if (type == WINHTTP_WEB_SOCKET_UTF8_MESSAGE_BUFFER_TYPE) {
                ConnectionEvent e{Kind::Message};
                e.text = std::move(message);
                message.clear();
                inbox_.push(generation_, std::move(e));
            }
        }
    }

    ConnectionInbox& inbox_;
    const std::uint64_t generation_;
    const std::wstring host_;
    const int port_;
    const std::string pinned_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopped_ = false;
    HINTERNET session_ = nullptr, connection_ = nullptr, request_ = nullptr, socket_ = nullptr;
};

class WinHttpConnection final : public Connection {
public:
    explicit WinHttpConnection(std::function<void()> wake) : inbox_(std::move(wake)) {}
    ~WinHttpConnection() override { end(); }

    void open(const std::string& host, int port, const std::string& pinned,
              std::chrono::milliseconds delay) override {
        end();
        link_ = std::make_shared<Link>(inbox_, inbox_.renew(), WideFromUtf8(host), port, pinned);
        thread_ = std::thread([link = link_, delay] { link->run(delay); });
    }
    void send(const std::string& text) override {
        if (link_) link_->send(text);
    }
    void close() override {
        end();
        inbox_.renew();
    }
    std::optional<ConnectionEvent> poll() override { return inbox_.pop(); }

private:
    void end() {
        if (link_) link_->stop();
        if (thread_.joinable()) thread_.join();
        link_.reset();
    }

    ConnectionInbox inbox_;
    std::shared_ptr<Link> link_;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<Connection> MakeWinHttpConnection(std::function<void()> wake) {
    return std::make_unique<WinHttpConnection>(std::move(wake));
}

}  // namespace veldrisa
