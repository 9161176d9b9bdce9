// Which of espeak-ng's voices the game offers, in what order, and how each is described.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace veldrisa {

// A voice as espeak-ng lists it.
struct VoiceEntry {
    std::string identifier;  // "roa/es", "mb/mb-es1"
    std::string language;    // its first language: "es", "es-419", "es-mx"
};

// A voice offered to the players.
struct OfferedVoice {
    std::string name;         // as espeak_SetVoiceByName takes it
    std::string description;  // spoken by the voice keys: words only, no mark to be read aloud
};

// The Spanish voices among those listed: the built-in ones by language (Spain first), then the
// same with the female variant when there is one, then the MBROLA voices. A voice that
// `loads` refuses is left out; so is every MBROLA voice whose data `loads` does not find.
std::vector<OfferedVoice> SpanishVoices(const std::vector<VoiceEntry>& listed, bool haveFemaleVariant,
                                        const std::function<bool(const std::string& name)>& loads);

// The female variant offered beside each built-in Spanish voice.
inline constexpr const char* FemaleVariant = "f3";

// Whether espeak-ng's identifier names an MBROLA voice ("mb/mb-es1").
bool IsMbrolaVoice(const std::string& identifier);

}  // namespace veldrisa
