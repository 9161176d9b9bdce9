// The web page's files: a request's path decoded, checked segment by segment, and read only
// when it stays inside the page's folder.
#include "server/web_files.hpp"

#include <array>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

namespace veldrisa {
namespace {

namespace fs = std::filesystem;

// A page file above this is no page of ours: refused rather than read into memory.
constexpr std::uintmax_t MaxFileBytes = 8 * 1024 * 1024;

// The room sounds, under /sonidos/, by the names the game loads them with.
constexpr std::string_view SoundsPrefix = "/sonidos/";
constexpr std::array<std::string_view, 4> SoundNames = {"fuego.wav", "Vaso rompiéndose.mp3",
                                                        "Pasar páginas.mp3", "Ronquido.mp3"};

constexpr std::array<std::pair<std::string_view, std::string_view>, 9> Types = {{
    {".html", "text/html; charset=utf-8"},
    {".js", "text/javascript; charset=utf-8"},
    {".css", "text/css; charset=utf-8"},
    {".json", "application/json"},
    {".svg", "image/svg+xml"},
    {".png", "image/png"},
    {".ico", "image/x-icon"},
    {".wav", "audio/wav"},
    {".mp3", "audio/mpeg"},
}};

WebReply Refusal(unsigned status, std::string_view why) {
    WebReply r;
    r.status = status;
    r.contentType = "text/plain; charset=utf-8";
    r.body = why;
    r.length = r.body.size();
    return r;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The path without its query, percent-decoded; nothing when an escape is broken or decodes to
// a byte no file name of ours holds (NUL, a backslash, an encoded slash).
std::optional<std::string> Decoded(std::string_view target) {
    target = target.substr(0, target.find('?'));
    std::string out;
    for (std::size_t i = 0; i < target.size(); ++i) {
        char c = target[i];
        if (c == '%') {
            if (i + 2 >= target.size()) return std::nullopt;
            const int high = HexDigit(target[i + 1]), low = HexDigit(target[i + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            c = static_cast<char>(high * 16 + low);
            if (c == '/') return std::nullopt;
            i += 2;
        }
        if (c == '\0' || c == '\\') return std::nullopt;
        out += c;
    }
    return out;
}

// The path's segments, when each one names a visible file or folder: no empty segment, no `.`
// or `..`, nothing hidden.
std::optional<std::vector<std::string>> Segments(std::string_view path) {
    if (path.empty() || path.front() != '/') return std::nullopt;
    std::vector<std::string> segments;
    std::size_t start = 1;
    while (true) {
        const std::size_t end = path.find('/', start);
        const std::string_view segment =
            path.substr(start, end == std::string_view::npos ? end : end - start);
        if (segment.empty() || segment.front() == '.') return std::nullopt;
        segments.emplace_back(segment);
        if (end == std::string_view::npos) return segments;
        start = end + 1;
    }
}

std::string_view TypeOf(const fs::path& file) {
    const std::string extension = file.extension().string();
    for (const auto& [ending, type] : Types)
        if (extension == ending) return type;
    return {};
}

// Whether `inner` (already canonical) lies inside the folder `outer` (canonical).
bool Inside(const fs::path& inner, const fs::path& outer) {
    auto i = inner.begin();
    for (auto o = outer.begin(); o != outer.end(); ++o, ++i)
        if (i == inner.end() || *i != *o) return false;
    return i != inner.end();
}

// The file a decoded path names, followed through its links, only when it stays in the folder.
std::optional<fs::path> Resolve(const WebFolders& folders, const std::string& path) {
    if (path.rfind(SoundsPrefix, 0) == 0) {
        const std::string_view name = std::string_view(path).substr(SoundsPrefix.size());
        for (std::string_view sound : SoundNames)
            if (name == sound) return folders.sounds / fs::u8path(sound);
        return std::nullopt;
    }
    const auto segments = Segments(path == "/" ? "/index.html" : path);
    if (!segments) return std::nullopt;
    std::error_code ec;
    const fs::path root = fs::canonical(folders.page, ec);
    if (ec) return std::nullopt;
    fs::path file = root;
    for (const std::string& s : *segments) file /= fs::u8path(s);
    const fs::path real = fs::canonical(file, ec);
    if (ec || !Inside(real, root)) return std::nullopt;
    return real;
}

}  // namespace

namespace {

// The first of a folder beside the binary and its namesake in an installed server's share folder
// that holds the file it is known by.
fs::path Installed(const fs::path& binaryFolder, const fs::path& beside, const fs::path& shared,
                   const char* known) {
    for (const fs::path& candidate : {binaryFolder / beside, binaryFolder / ".." / "share" / "veldrisa-server" / shared}) {
        std::error_code ec;
        if (fs::is_regular_file(candidate / known, ec)) return candidate.lexically_normal();
    }
    return {};
}

}  // namespace

fs::path DefaultWebFolder(const fs::path& binaryFolder) {
    return Installed(binaryFolder, "web", "web", "index.html");
}

fs::path DefaultSoundsFolder(const fs::path& binaryFolder) {
    return Installed(binaryFolder, ".", "sonidos", "fuego.wav");
}

WebReply ServeWeb(const WebFolders& folders, std::string_view method, std::string_view target) {
    if (method != "GET" && method != "HEAD") return Refusal(405, "Solo GET y HEAD.\n");
    const auto path = Decoded(target);
    if (!path) return Refusal(400, "Petición no válida.\n");
    const auto file = Resolve(folders, *path);
    std::error_code ec;
    if (!file || !fs::is_regular_file(*file, ec) || TypeOf(*file).empty())
        return Refusal(404, "No existe.\n");
    const std::uintmax_t size = fs::file_size(*file, ec);
    if (ec || size > MaxFileBytes) return Refusal(404, "No existe.\n");
    WebReply reply;
    reply.contentType = TypeOf(*file);
    reply.length = size;
    if (method == "HEAD") return reply;
    std::ifstream in(*file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in) return Refusal(404, "No existe.\n");
    reply.body = std::move(bytes).str();
    reply.length = reply.body.size();
    return reply;
}

const std::vector<std::pair<std::string_view, std::string_view>>& WebSecurityHeaders() {
    static const std::vector<std::pair<std::string_view, std::string_view>> headers = {
        {"Content-Security-Policy",
         "default-src 'none'; script-src 'self'; style-src 'self'; connect-src 'self'; img-src 'self'; "
         "media-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'"},
        {"X-Content-Type-Options", "nosniff"},
        {"Referrer-Policy", "no-referrer"},
        {"Cache-Control", "no-cache"},
    };
    return headers;
}

}  // namespace veldrisa
