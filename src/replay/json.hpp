// Just enough JSON writing for one-line objects of strings, numbers, booleans and arrays.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace veldrisa {

// The text as a JSON string literal, quotes included. Only the characters that RFC 8259
// requires are escaped; UTF-8 characters are copied as they are, and any other byte becomes
// U+FFFD, so that the literal is always valid UTF-8.
std::string JsonString(std::string_view text);

inline std::string JsonBool(bool b) { return b ? "true" : "false"; }

// "[" each(item), ... "]"; each turns one item into its JSON text.
template <typename Range, typename Each>
std::string JsonArray(const Range& items, Each each) {
    std::string out = "[";
    bool first = true;
    for (const auto& item : items) {
        if (!first) out += ',';
        first = false;
        out += each(item);
    }
    return out + "]";
}

// Fields come out in the order they are added.
class JsonObject {
public:
    JsonObject& text(std::string_view key, std::string_view value) { return raw(key, JsonString(value)); }
    JsonObject& flag(std::string_view key, bool value) { return raw(key, JsonBool(value)); }
    JsonObject& number(std::string_view key, std::int64_t value) { return raw(key, std::to_string(value)); }
    // value must already be JSON.
    JsonObject& raw(std::string_view key, std::string_view value);
    std::string str() const { return body_ + "}"; }

private:
    std::string body_ = "{";
};

}  // namespace veldrisa
