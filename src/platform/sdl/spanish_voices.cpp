// The Spanish voices offered: their order, their descriptions, and those left out.
#include "platform/sdl/spanish_voices.hpp"

#include <algorithm>
#include <cctype>

namespace veldrisa {
namespace {

struct LanguageName {
    const char* code;
    const char* description;
};
// Spain first: it is the default voice. MBROLA's voices give their region this way.
constexpr LanguageName SpanishLanguages[] = {
    {"es", "Español de España"},
    {"es-es", "Español de España"},
    {"es-419", "Español de América Latina"},
    {"es-mx", "Español de México"},
    {"es-vz", "Español de Venezuela"},
};

bool IsSpanish(const std::string& language) { return language == "es" || language.rfind("es-", 0) == 0; }

// Words only: a hyphen or a bracket would be read aloud as a mark.
std::string DescribeLanguage(const std::string& language) {
    for (const auto& l : SpanishLanguages)
        if (language == l.code) return l.description;
    std::string region = language.substr(3);
    std::replace(region.begin(), region.end(), '-', ' ');
    return "Español " + region;
}

int LanguageOrder(const std::string& language) {
    int i = 0;
    for (const auto& l : SpanishLanguages) {
        if (language == l.code) return i;
        ++i;
    }
    return i;
}

// "mb/mb-es2" is the second MBROLA voice of its region: "MBROLA 2".
std::string DescribeMbrola(const VoiceEntry& v) {
    std::string number;
    for (auto c = v.identifier.rbegin();
         c != v.identifier.rend() && std::isdigit(static_cast<unsigned char>(*c)); ++c)
        number.insert(number.begin(), *c);
    return DescribeLanguage(v.language) + " MBROLA" + (number.empty() ? "" : " " + number);
}

}  // namespace

bool IsMbrolaVoice(const std::string& identifier) { return identifier.rfind("mb/", 0) == 0; }

std::vector<OfferedVoice> SpanishVoices(const std::vector<VoiceEntry>& listed, bool haveFemaleVariant,
                                        const std::function<bool(const std::string& name)>& loads) {
    std::vector<VoiceEntry> builtIn, mbrola;
    for (const auto& v : listed) {
        if (!IsSpanish(v.language) || !loads(v.identifier)) continue;
        (IsMbrolaVoice(v.identifier) ? mbrola : builtIn).push_back(v);
    }
    auto byLanguage = [](const VoiceEntry& a, const VoiceEntry& b) {
        return LanguageOrder(a.language) < LanguageOrder(b.language);
    };
    std::stable_sort(builtIn.begin(), builtIn.end(), byLanguage);
    std::stable_sort(mbrola.begin(), mbrola.end(), byLanguage);

    std::vector<OfferedVoice> voices;
    for (const auto& v : builtIn) voices.push_back({v.identifier, DescribeLanguage(v.language)});
    if (haveFemaleVariant)
        for (const auto& v : builtIn)
            voices.push_back(
                {v.identifier + "+" + FemaleVariant, DescribeLanguage(v.language) + " voz femenina"});
    for (const auto& v : mbrola) voices.push_back({v.identifier, DescribeMbrola(v)});
    return voices;
}

}  // namespace veldrisa
