// JSON string escaping and object building.
#include "replay/json.hpp"

#include <algorithm>

#include "platform/shared/valid_utf8.hpp"

namespace veldrisa {

std::string JsonString(std::string_view text) {
    // The output is read as UTF-8 by strict decoders: a byte that is not part of a character
    // (in a voice description given on the command line, say) is written as U+FFFD.
    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const std::string valid = ascii ? std::string() : ValidUtf8(text);
    if (!ascii) text = valid;
    static constexpr char Hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                out += "\\u00";
                out += Hex[c >> 4];
                out += Hex[c & 0xF];
            } else {
                out += ch;
            }
        }
    }
    out += '"';
    return out;
}

JsonObject& JsonObject::raw(std::string_view key, std::string_view value) {
    if (body_.size() > 1) body_ += ',';
    body_ += JsonString(key);
    body_ += ':';
    body_ += value;
    return *this;
}

}  // namespace veldrisa
