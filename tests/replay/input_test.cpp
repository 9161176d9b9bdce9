// The replay tool's command line and input lines.
#include <gtest/gtest.h>

#include "replay/input.hpp"
#include "replay/options.hpp"

namespace veldrisa {
namespace {

std::optional<KeyEvent> Key(std::string_view name) {
    std::string problem;
    return ParseKey(name, problem);
}

TEST(ParseKey, NamedKeysAndRanges) {
    const std::pair<const char*, int> cases[] = {
        {"ENTER", 13}, {"ESC", 27},   {"SPACE", 32}, {"SHIFT", 16},  {"ALT", 18},   {"LEFT", 37},
        {"UP", 38},    {"RIGHT", 39}, {"DOWN", 40},  {"F1", 112},    {"F10", 121},  {"F12", 123},
        {"0", 48},     {"9", 57},     {"A", 65},     {"Z", 90},      {"KP0", 96},   {"KP9", 105},
        {"VK0", 0},    {"VK186", 186}, {"VK255", 255}, {"VK007", 7},
    };
    for (auto [name, code] : cases) EXPECT_EQ(Key(name), (KeyEvent{code, 0})) << name;
}

TEST(ParseKey, ModifiersAddUpInAnyOrder) {
    EXPECT_EQ(Key("SHIFT+F8"), (KeyEvent{119, 1}));
    EXPECT_EQ(Key("CTRL+1"), (KeyEvent{49, 2}));
    EXPECT_EQ(Key("ALT+F4"), (KeyEvent{115, 4}));
    EXPECT_EQ(Key("ALT+SHIFT+CTRL+KP3"), (KeyEvent{99, 7}));
    EXPECT_EQ(Key("CTRL+ALT+2"), Key("ALT+CTRL+2"));
}

TEST(ParseKey, ControlItselfIsHeldWhileItGoesDown) {
    EXPECT_EQ(Key("CTRL"), (KeyEvent{17, 2}));
    EXPECT_EQ(Key("SHIFT+CTRL"), (KeyEvent{17, 3}));
    EXPECT_EQ(Key("CTRL+CTRL"), (KeyEvent{17, 2}));
}

TEST(ParseKey, RejectsWhatIsNotInTheNotation) {
    for (auto name : {"", "enter", "Esc", "F0", "F13", "F01", "KP10", "KP", "VK", "VK256", "VK-1", "VK+1", "VK1x",
                      "AB", "CTRL+", "+A", "CTRL+CTRL+A", "SHIFT+SHIFT+A", "CTRL-A", "ÑA", "SPACE BAR"}) {
        std::string problem;
        EXPECT_FALSE(ParseKey(name, problem)) << name;
        EXPECT_FALSE(problem.empty()) << name;
    }
}

TEST(ParseLine, SkipsBlankAndCommentLines) {
    for (auto line : {"", "   ", "\t", "\r", "# a comment", "#", "  # indented comment\r"})
        EXPECT_EQ(ParseLine(line).kind, InputLine::Kind::Skip) << '"' << line << '"';
}

TEST(ParseLine, KeyLinesAreTrimmedAndLoseTheirCR) {
    auto l = ParseLine(" \tCTRL+1  \r");
    EXPECT_EQ(l.kind, InputLine::Kind::Key);
    EXPECT_EQ(l.key, (KeyEvent{49, 2}));
    EXPECT_EQ(ParseLine("  STATE ").kind, InputLine::Kind::State);
    EXPECT_EQ(ParseLine("CANCEL\r").kind, InputLine::Kind::Cancel);
}

TEST(ParseLine, TextKeepsEverythingAfterTheFirstSpace) {
    auto l = ParseLine("TEXT  Doña  Rosa # no comment \r");
    EXPECT_EQ(l.kind, InputLine::Kind::Text);
    EXPECT_EQ(l.text, " Doña  Rosa # no comment ");
    auto empty = ParseLine("TEXT ");
    EXPECT_EQ(empty.kind, InputLine::Kind::Text);
    EXPECT_EQ(empty.text, "");
    EXPECT_EQ(ParseLine("TEXT \r").text, "");
}

TEST(ParseLine, MalformedLinesSayWhy) {
    for (auto line : {"TEXT", "TEXT\r", " TEXT Pepe", "Text Pepe", "cancel", "STATE now", "FOO", "CTRL+CTRL+1"}) {
        auto l = ParseLine(line);
        EXPECT_EQ(l.kind, InputLine::Kind::Invalid) << line;
        EXPECT_FALSE(l.text.empty()) << line;
    }
}

TEST(ParseArguments, SeedsAcrossTheWholeRangeOrTheClock) {
    EXPECT_FALSE(ParseArguments({})->seed);
    EXPECT_EQ(ParseArguments({"--seed", "0"})->seed, 0u);
    EXPECT_EQ(ParseArguments({"--seed", "4294967295"})->seed, 4294967295u);
    for (auto bad : {"4294967296", "-1", "+1", "", " 1", "1e3", "0x10"})
        EXPECT_FALSE(ParseArguments({"--seed", bad})) << bad;
}

TEST(ParseArguments, VoicesInOrderEmptyOnesIncluded) {
    auto o = ParseArguments({"--voice", "Ana", "--seed", "3", "--voice", "", "--voice", "Bea"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->voices, (std::vector<std::string>{"Ana", "", "Bea"}));
    EXPECT_EQ(o->seed, 3u);
    EXPECT_EQ(ParseArguments({})->voices, std::vector<std::string>{"Voz de prueba"});
    EXPECT_TRUE(ParseArguments({"--no-voices"})->voices.empty());
    EXPECT_TRUE(ParseArguments({"--voice", "Ana", "--no-voices"})->voices.empty());
}

TEST(ParseArguments, AnythingElseIsAUsageError) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--seed"}, {"--voice"}, {"--seed=1"}, {"-s", "1"}, {"extra"}, {"--no-voices", "x"}, {"--help"}})
        EXPECT_FALSE(ParseArguments(args)) << args.front();
}

}  // namespace
}  // namespace veldrisa
