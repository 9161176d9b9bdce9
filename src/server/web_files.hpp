// The web page's static files, served on the WebSocket's own port: which file a request names,
// and the refusals that keep every answer inside the page's folder.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veldrisa {

struct WebFolders {
    std::filesystem::path page;    // the page's files: nothing outside it is ever read
    std::filesystem::path sounds;  // the game's own room sounds, only the four by their names
};

struct WebReply {
    unsigned status = 200;
    std::string contentType;
    std::string body;        // empty for HEAD
    std::size_t length = 0;  // the Content-Length: the file's size, for HEAD too
};

// The page's folder beside the server's binary, or the one an installed server keeps in its
// share folder; empty when neither is there.
std::filesystem::path DefaultWebFolder(const std::filesystem::path& binaryFolder);
// The room sounds' folder: the server's own folder when the build put them beside it, or the one
// an installed server keeps in its share folder.
std::filesystem::path DefaultSoundsFolder(const std::filesystem::path& binaryFolder);

// Answers a GET or HEAD for `target` (the request line's path, with its query). Anything that
// leaves the folder (`..`, a symbolic link out, an encoded slash), names a folder, a hidden
// file or an unknown kind of file is refused without touching the disk beyond the folder.
WebReply ServeWeb(const WebFolders& folders, std::string_view method, std::string_view target);

// Every HTTP answer's headers, refusals included: a strict Content-Security-Policy that lets the
// page reach only its own origin (its WebSocket too), no sniffing, no referrer.
const std::vector<std::pair<std::string_view, std::string_view>>& WebSecurityHeaders();

}  // namespace veldrisa
