// Warnings of the windowed game, which has no console to show them on: standard error and a log file.
#pragma once

#include <filesystem>
#include <string>

namespace veldrisa {

// The log: avisos.txt in a Veldrisa folder of the user's local application data (LOCALAPPDATA,
// or the known folder when it is unset); empty when Windows names no such folder.
std::filesystem::path WarningsFile();

// Empties the log for this run, so that a tester reads only what this run said.
void StartWarnings();

// Writes "Aviso: text" on standard error and as a line of the log. A text already written in
// this run is not written again: the same sound refused at every new game is told once.
void Warn(const std::string& text);

}  // namespace veldrisa
