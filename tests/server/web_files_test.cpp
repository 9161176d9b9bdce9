// The web page's files: what is served, with its type, and every way out of the folder refused.
#include "server/web_files.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace veldrisa {
namespace {

namespace fs = std::filesystem;

// A page folder with a secret beside it, a link out of it, a link inside it, a folder and a
// hidden file; the sounds in a folder of their own.
struct Site {
    Site() : base(fs::temp_directory_path() / ("veldrisa-web-" + std::to_string(getpid()))) {
        fs::remove_all(base);
        fs::create_directories(base / "web" / "js");
        fs::create_directories(base / "sounds");
        Write(base / "web" / "index.html", "<!doctype html><title>Mesa</title>");
        Write(base / "web" / "js" / "main.js", "export {};");
        Write(base / "web" / ".hidden.js", "secret");
        Write(base / "web" / "notes.txt", "unknown kind");
        Write(base / "secret.json", "{\"secret\":1}");
        Write(base / "sounds" / "Vaso rompiéndose.mp3", "mp3");
        Write(base / "sounds" / "other.mp3", "not a room sound");
        fs::create_symlink(base / "secret.json", base / "web" / "out.json");
        fs::create_symlink(base / "web" / "js" / "main.js", base / "web" / "alias.js");
        folders = {base / "web", base / "sounds"};
    }
    ~Site() { fs::remove_all(base); }
    static void Write(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }
    WebReply get(std::string_view target, std::string_view method = "GET") const {
        return ServeWeb(folders, method, target);
    }
    fs::path base;
    WebFolders folders;
};

TEST(WebFiles, ServesThePageItsModulesAndTheRoomSoundsWithTheirTypes) {
    Site site;
    const WebReply index = site.get("/");
    EXPECT_EQ(index.status, 200u);
    EXPECT_EQ(index.contentType, "text/html; charset=utf-8");
    EXPECT_EQ(index.body, "<!doctype html><title>Mesa</title>");
    EXPECT_EQ(site.get("/js/main.js?v=2").contentType, "text/javascript; charset=utf-8");
    EXPECT_EQ(site.get("/alias.js").status, 200u) << "a link that stays inside the folder is followed";
    const WebReply sound = site.get("/sonidos/Vaso%20rompi%C3%A9ndose.mp3");
    EXPECT_EQ(sound.status, 200u);
    EXPECT_EQ(sound.contentType, "audio/mpeg");
    EXPECT_EQ(sound.body, "mp3");
}

TEST(WebFiles, HeadTellsTheLengthWithoutTheBody) {
    Site site;
    const WebReply head = site.get("/index.html", "HEAD");
    EXPECT_EQ(head.status, 200u);
    EXPECT_TRUE(head.body.empty());
    EXPECT_EQ(head.length, std::string("<!doctype html><title>Mesa</title>").size());
}

TEST(WebFiles, RefusesEveryWayOutOfTheFolder) {
    Site site;
    for (const char* target : {"/../secret.json",
                               "/js/../../secret.json",
                               "/%2e%2e/secret.json",
                               "/js/%2E%2E/%2e%2e/secret.json",
                               "/js%2f..%2f..%2fsecret.json",
                               "/out.json",
                               "/./index.html",
                               "//index.html",
                               "/js/",
                               "/js",
                               "/.hidden.js",
                               "/notes.txt",
                               "/index.html%00.js",
                               "/..%5csecret.json",
                               "/%zz",
                               "/%2",
                               "index.html",
                               "http://127.0.0.1/index.html",
                               "/sonidos/other.mp3",
                               "/sonidos/../secret.json",
                               "/sonidos/",
                               "/missing.js"}) {
        const WebReply r = site.get(target);
        EXPECT_TRUE(r.status == 400 || r.status == 404) << target << " answered " << r.status;
        EXPECT_EQ(r.body.find("secret"), std::string::npos) << target;
    }
}

TEST(WebFiles, OnlyGetAndHead) {
    Site site;
    for (const char* method : {"POST", "PUT", "DELETE", "OPTIONS", "get"})
        EXPECT_EQ(site.get("/index.html", method).status, 405u) << method;
}

TEST(WebFiles, WithoutAPageFolderNothingIsServed) {
    EXPECT_EQ(ServeWeb({}, "GET", "/").status, 404u);
    EXPECT_TRUE(DefaultWebFolder(fs::temp_directory_path() / "veldrisa-no-such-folder").empty());
}

// A build keeps the page and the sounds beside the server; a package keeps the server in sbin and
// them in its share folder.
TEST(WebFiles, TheFoldersAreFoundBesideTheServerOrInItsShareFolder) {
    const fs::path root = fs::temp_directory_path() / ("veldrisa-installed-" + std::to_string(::getpid()));
    const auto touch = [&](const fs::path& file) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "x";
    };
    touch(root / "build" / "web" / "index.html");
    touch(root / "build" / "fuego.wav");
    touch(root / "usr" / "share" / "veldrisa-server" / "web" / "index.html");
    touch(root / "usr" / "share" / "veldrisa-server" / "sonidos" / "fuego.wav");
    fs::create_directories(root / "usr" / "sbin");
    fs::create_directories(root / "empty" / "web");
    EXPECT_EQ(DefaultWebFolder(root / "build"), root / "build" / "web");
    EXPECT_EQ(DefaultSoundsFolder(root / "build"), root / "build" / "");
    EXPECT_EQ(DefaultWebFolder(root / "usr" / "sbin"), root / "usr" / "share" / "veldrisa-server" / "web");
    EXPECT_EQ(DefaultSoundsFolder(root / "usr" / "sbin"), root / "usr" / "share" / "veldrisa-server" / "sonidos");
    EXPECT_TRUE(DefaultWebFolder(root / "empty").empty());
    EXPECT_TRUE(DefaultSoundsFolder(root / "empty").empty());
    fs::remove_all(root);
}

}  // namespace
}  // namespace veldrisa
