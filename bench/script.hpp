// Whole scripted games on the recording stand-ins, kept as the calls they made on the speech engine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace veldrisa::bench {

// One call of the game on its speech engine, in the order the game made them.
struct EngineCall {
    enum class Kind { CreateVoice, SelectVoice, SetRate, Speak, Stop };
    Kind kind;
    int number = 0;    // the voice's position or the rate
    std::string text;  // what speak() was given: lower-cased
};

// Plays one game per seed from the setup screen to its end, with three of the ten characters
// in the hands of scripted players who choose rooms, cards and targets and now and then ask
// for their cards, their position, the heir, a repetition, the other card descriptions or
// silence. The first game also changes the voice's rate and the voice itself and renames a
// character. `voices` are the descriptions the real engine reports.
std::vector<EngineCall> ScriptedGames(const std::vector<std::string>& voices, const std::vector<std::uint32_t>& seeds);

}  // namespace veldrisa::bench
