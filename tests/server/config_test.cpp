// The server's configuration file: what it accepts, and every fault refused with its line.
#include "server/config.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace veldrisa {
namespace {

using namespace std::string_literals;

std::string Refusal(const std::string& text) {
    try {
        ParseServerConfig(text);
    } catch (const ServerConfigError& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(ServerConfig, ReadsEveryKeyAroundCommentsBlanksAndWindowsLineEnds) {
    const ServerSettings s = ParseServerConfig(
        "\xEF\xBB\xBF# the server\r\n"
        "\n"
        "   address =   ::   \r\n"
        "\tport=443\n"
        "cert = /etc/veldrisa/a b#1.crt\n"
        "  # key = not this one\n"
        "key = /etc/veldrisa/server.key\n"
        "data = /var/lib/veldrisa");
    EXPECT_EQ(s.address, "::");
    EXPECT_EQ(s.port, 443);
    EXPECT_EQ(s.cert, "/etc/veldrisa/a b#1.crt");
    EXPECT_EQ(s.key, "/etc/veldrisa/server.key");
    EXPECT_EQ(s.data, "/var/lib/veldrisa");

    const ServerSettings none = ParseServerConfig("# all defaults\n\n");
    EXPECT_FALSE(none.address || none.port || none.cert || none.key || none.data);
}

TEST(ServerConfig, RefusesEachFaultNamingItsLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"prot = 7531", "línea 1: la clave «prot» no existe; las claves son address, port, cert, key y data"},
        {"# c\n\nPort = 1", "línea 3: la clave «Port» no existe"},
        {"port 7531", "línea 1: se esperaba «clave = valor»"},
        {" = 7531", "línea 1: se esperaba «clave = valor»"},
        {"data =  \t", "línea 1: «data» no tiene valor"},
        {"port = 0", "línea 1: el puerto es un número de 1 a 65535, no «0»"},
        {"port = 65536", "no «65536»"},
        {"port = 80a", "no «80a»"},
        {"port = -1", "no «-1»"},
        {"port = +80", "no «+80»"},
        {"port = 8 0", "no «8 0»"},
        {"address = localhost", "línea 1: «localhost» no es una dirección IP"},
        {"address = 300.1.1.1", "no es una dirección IP"},
        {"port = 1\n# again\nport = 2", "línea 3: «port» ya se dio en la línea 1"},
        {"cert = /a.crt", "falta «key», la clave privada del certificado «cert»"},
        {"key = /a.key", "falta «cert», el certificado de la clave «key»"},
        {"data = /x\x1b[2J", "línea 1: un carácter de control (código 27)"},
        {"data = /x\0y"s, "un carácter de control (código 0)"},
    };
    for (const auto& [text, said] : cases)
        EXPECT_NE(Refusal(text).find(said), std::string::npos) << text << " -> " << Refusal(text);
}

TEST(ServerConfig, ReadsAFileAndNamesItInEveryFault) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("veldrisa-config-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "server.conf").string();
    const auto write = [&](const std::string& text) { std::ofstream(path, std::ios::binary) << text; };

    write("port = 7600\n");
    EXPECT_EQ(ReadServerConfig(path).port, 7600);
    write("");
    EXPECT_FALSE(ReadServerConfig(path).port);

    const auto refusal = [](const std::string& file) -> std::string {
        try {
            ReadServerConfig(file);
        } catch (const ServerConfigError& e) {
            return e.what();
        }
        return "(accepted)";
    };
    write("port = 7600\nweb = /srv\n");
    EXPECT_EQ(refusal(path),
              path + ", línea 2: la clave «web» no existe; las claves son address, port, cert, key y data");
    EXPECT_EQ(refusal(path + ".missing"), path + ".missing: no existe");
    EXPECT_EQ(refusal(folder.string()), folder.string() + ": no es un archivo");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace veldrisa
