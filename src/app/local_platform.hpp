// What a platform's factory hands the program: its ports, its window and how it waits.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "online/cliente.hpp"
#include "ports/connection.hpp"
#include "ports/platform.hpp"
#include "ports/window.hpp"

namespace veldrisa {

// Owns every adapter of one platform (speech, sounds, beeps, window, clock, folders).
class LocalPlatform {
public:
    virtual ~LocalPlatform() = default;
    virtual Platform& ports() = 0;
    virtual Window& window() = 0;
    // The speech engine calls pump over and over while it waits for speech to end; when pump
    // returns false the wait is given up.
    virtual void setWaitPump(std::function<bool()> pump) = 0;
    // The game cannot start: the player is told in plain words (a message box, standard error
    // and, with no voice at all, the falling tones).
    virtual void cannotStart(const std::string& message) = 0;
};

// The whole game on a platform: the setup screen first, then the game window, until the player
// leaves; with a connection, the setup screen offers the online tables too. The process's exit
// status: 0 after a normal end, 1 when the game cannot start.
int RunGame(LocalPlatform& platform, Connection* conexion = nullptr, OpcionesEnLinea enLinea = {});

// The program's arguments: "--server nombre:puerto" or nothing. None when they are anything else.
std::optional<std::string> ServidorDeArgumentos(const std::vector<std::string>& argumentos);
constexpr const char* UsoDelPrograma = "Uso: veldrisa [--server nombre:puerto]";
// The file of the server certificates the player confirmed, in their configuration folder.
constexpr const char* ArchivoHuellas = "servidores.txt";

}  // namespace veldrisa
