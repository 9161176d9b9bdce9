// JSON escaping and the shape of the output lines.
#include <gtest/gtest.h>

#include "replay/json.hpp"
#include "replay/output.hpp"

namespace veldrisa {
namespace {

TEST(JsonString, EscapesQuotesBackslashesAndControlCharacters) {
    EXPECT_EQ(JsonString(""), R"("")");
    EXPECT_EQ(JsonString(R"(dijo "hola" \ adiós)"), R"("dijo \"hola\" \\ adiós")");
    EXPECT_EQ(JsonString("a\r\nb\tc"), R"("a\r\nb\tc")");
    EXPECT_EQ(JsonString("\b\f"), R"("\b\f")");
    EXPECT_EQ(JsonString(std::string("\x00\x01\x1f", 3)), R"("\u0000\u0001\u001f")");
    EXPECT_EQ(JsonString("/ \x7f ñ ¿"), "\"/ \x7f ñ ¿\"");
}

TEST(JsonObject, KeepsFieldOrder) {
    auto s = JsonObject{}.text("b", "x").number("a", -54).flag("c", true).raw("d", "[]").str();
    EXPECT_EQ(s, R"({"b":"x","a":-54,"c":true,"d":[]})");
    EXPECT_EQ(JsonObject{}.str(), "{}");
}

TEST(EventJson, PerceptibleEventsOnly) {
    EXPECT_EQ(EventJson(Event::said("Uno\r\ndos", true, false)),
              R"({"ev":"say","text":"Uno\r\ndos","before":true,"after":false})");
    EXPECT_EQ(EventJson(Event(EventKind::SoundFile, "/x/fuego.wav", 1)),
              R"({"ev":"sound","player":1,"op":"file","name":"/x/fuego.wav"})");
    EXPECT_EQ(EventJson(Event(EventKind::SoundPlay, "", 3)), R"({"ev":"sound","player":3,"op":"play"})");
    EXPECT_EQ(EventJson(Event(EventKind::SoundStop, "", 4)), R"({"ev":"sound","player":4,"op":"stop"})");
    EXPECT_EQ(EventJson(Event::volume(2, 30)), R"({"ev":"sound","player":2,"op":"volume","level":30})");
    EXPECT_EQ(EventJson(Event(EventKind::Beep)), R"({"ev":"beep"})");
    EXPECT_EQ(EventJson(Event::dialog("T", "P", "I")),
              R"({"ev":"dialog","title":"T","prompt":"P","text":"I"})");
    EXPECT_EQ(EventJson(Event(EventKind::Screen, "game")), R"({"ev":"screen","name":"game"})");
    for (auto k :
         {EventKind::Spoke, EventKind::Stopped, EventKind::Waited, EventKind::VoiceCreated,
          EventKind::VoiceSelected, EventKind::RateSet, EventKind::Seeded, EventKind::DirectoryChanged})
        EXPECT_FALSE(EventJson(Event(k, "x"))) << Event(k);
    EXPECT_EQ(LogJson("a\"b"), R"({"ev":"log","text":"a\"b"})");
    EXPECT_EQ(ExitJson(), R"({"ev":"exit"})");
}

}  // namespace
}  // namespace veldrisa
