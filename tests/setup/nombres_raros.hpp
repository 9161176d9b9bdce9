// Names nobody would choose but somebody will type: the game, the voice and the window take them all.
#pragma once

#include <string>
#include <vector>

namespace veldrisa::prueba {

struct NombreRaro {
    const char* que;  // what is odd about it, for failure messages
    std::string nombre;
};

inline std::string DiezMilCaracteres() {
    std::string s;
    for (int i = 0; i < 10000; ++i) s += i % 3 == 0 ? "ñ" : i % 3 == 1 ? "a" : " ";
    return s;
}

inline const std::vector<NombreRaro>& NombresRaros() {
    static const std::vector<NombreRaro> nombres = {
        {"ten thousand characters", DiezMilCaracteres()},
        {"carriage return", "Ana\rBeto"},
        {"line feed", "Ana\nBeto"},
        {"tab", "Ana\tBeto"},
        {"SOH and DEL", "\x01" "Ana\x7f"},
        {"only control characters", "\r\n\t\x01\x7f"},
        {"stray bytes", "\xff\xfe Ana \x80"},
        {"cut sequence", "Ana \xc3"},
        {"surrogate", "\xed\xa0\x80 Ana"},
        {"overlong encodings", "\xc0\xaf\xe0\x80\xaf"},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80"},
        {"NUL inside", std::string("Ana\0Beto", 8)},
        {"Arabic", "حديقة الورد"},
        {"Hebrew", "שלום עולם"},
        {"right-to-left override", "\u202E" "odranreB"},
        {"directions mixed", "Ana \u202B" "علي\u202C y Beto"},
        {"emoji", "🐈 Micifú"},
        {"ZWJ family", "👨\u200D👩\u200D👧\u200D👦"},
        {"flags", "🇪🇸🇲🇽"},
        {"skin tone and keycap", "👍🏽 1️⃣"},
        {"combining marks", "Z\u0337\u0322\u0334\u0335\u0336\u0337\u0338\u0300\u0301\u0302\u0303\u0304\u0305a"},
        {"SSML", "<speak>hola</speak>"},
        {"bold tags", "<b>Ana</b>"},
        {"entities", "&amp; &lt;"},
        {"phoneme brackets", "[[h'ola]]"},
        {"XML and audio", "<?xml version=\"1.0\"?><audio src=\"/dev/zero\"/>"},
        {"a room entry", "01; "},
        {"two room entries", "010; 02; "},
        {"zero", "0"},
        {"a whole room list", "01; 02; 03; 04; 05; 06; 07; 08; 09; 010; "},
        {"a space", " "},
    };
    return nombres;
}

}  // namespace veldrisa::prueba
