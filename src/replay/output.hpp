// The replay tool's output lines: what a player perceives, and the state snapshot.
#pragma once

#include <optional>
#include <string>

#include "app/programa.hpp"
#include "platform/recording/event.hpp"

namespace veldrisa {

// The JSON line of a perceptible event; nothing for the engine's inner workings
// (speaking, waiting, rate and voice changes, seeding, directories).
std::optional<std::string> EventJson(const Event& e);

std::string LogJson(const std::string& label);
std::string ExitJson();
std::string StateJson(const Programa& programa);

}  // namespace veldrisa
