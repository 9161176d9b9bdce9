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

// The numbers here are the notation's own, the Windows virtual-key codes: they also hold the
// key vocabulary of the ports to those values.
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

TEST(ParseLine, AJournalNamesTheSeatOfEachKeyAndItsOwnInputs) {
    auto key = ParseLine(" @3,7 CTRL+1 ");
    EXPECT_EQ(key.kind, InputLine::Kind::Key);
    EXPECT_EQ(key.key, (KeyEvent{49, 2}));
    EXPECT_EQ(key.seat, ParseSeat("3,7"));
    EXPECT_EQ(key.character, 0);
    auto cards = ParseLine("@3,7 P 7");
    EXPECT_EQ(cards.key, (KeyEvent{Tecla::P, 0}));
    EXPECT_EQ(cards.character, 7);
    EXPECT_EQ(ParseLine("SPACE").seat, std::nullopt);
    EXPECT_EQ(ParseLine("TIMEOUT").kind, InputLine::Kind::TimeOut);
    auto computer = ParseLine("COMPUTER 10");
    EXPECT_EQ(computer.kind, InputLine::Kind::Computer);
    EXPECT_EQ(computer.character, 10);
    EXPECT_EQ(ParseLine("PLAYER 1").kind, InputLine::Kind::Player);
    for (auto line : {"@ SPACE", "@3", "@3,3 SPACE", "@0 SPACE", "@3,7 C 4", "@3,7 SPACE 3", "@3 CTRL+C 3",
                      "@3 FOO", "COMPUTER 0", "COMPUTER 11", "PLAYER", "PLAYER x", "TIMEOUT 3"}) {
        auto l = ParseLine(line);
        EXPECT_EQ(l.kind, InputLine::Kind::Invalid) << line;
        EXPECT_FALSE(l.text.empty()) << line;
    }
}

std::optional<RecordingOptions> Options(const std::vector<std::string>& args) {
    std::string problem;
    auto parsed = ParseArguments(args, problem);
    if (!parsed) return std::nullopt;
    EXPECT_FALSE(parsed->help);
    return parsed->options;
}

TEST(ParseArguments, SeedsAcrossTheWholeRangeOrTheClock) {
    EXPECT_FALSE(Options({})->seed);
    EXPECT_EQ(Options({"--seed", "0"})->seed, 0u);
    EXPECT_EQ(Options({"--seed", "4294967295"})->seed, 4294967295u);
    for (auto bad : {"4294967296", "-1", "+1", "", " 1", "1e3", "0x10"})
        EXPECT_FALSE(Options({"--seed", bad})) << bad;
}

TEST(ParseArguments, VoicesInOrderEmptyOnesIncluded) {
    auto o = Options({"--voice", "Ana", "--seed", "3", "--voice", "", "--voice", "Bea"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->voices, (std::vector<std::string>{"Ana", "", "Bea"}));
    EXPECT_EQ(o->seed, 3u);
    EXPECT_EQ(Options({})->voices, std::vector<std::string>{"Voz de prueba"});
    EXPECT_TRUE(Options({"--no-voices"})->voices.empty());
    EXPECT_TRUE(Options({"--voice", "Ana", "--no-voices"})->voices.empty());
    EXPECT_EQ(Options({"--voice", "--help"})->voices, std::vector<std::string>{"--help"}) << "a voice's name";
}

TEST(ParseArguments, AnythingElseIsAUsageErrorThatNamesTheOption) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--seed"}, "--seed needs a value"},
        {{"--voice"}, "--voice needs a value"},
        {{"--seed", "x"}, "--seed needs a whole number from 0 to 4294967295, not \"x\""},
        {{"--seed=1"}, "unknown option \"--seed=1\""},
        {{"-s", "1"}, "unknown option \"-s\""},
        {{"extra"}, "unknown option \"extra\""},
        {{"--no-voices", "x"}, "unknown option \"x\""},
        {{"--bogus\x1b[2J"}, "unknown option \"--bogus\\x1b[2J\""},
    };
    for (const auto& [args, expected] : cases) {
        std::string problem;
        EXPECT_FALSE(ParseArguments(args, problem)) << args.front();
        EXPECT_EQ(problem, expected);
    }
}

TEST(ParseArguments, OneSeatOrTheSpectators) {
    std::string problem;
    EXPECT_EQ(ParseArguments({"--seat", "3,7"}, problem)->seat, ParseSeat("3,7"));
    EXPECT_EQ(ParseArguments({"--spectator"}, problem)->seat, Seat{});
    EXPECT_EQ(ParseArguments({}, problem)->seat, std::nullopt);
    for (const auto& args : std::vector<std::vector<std::string>>{{"--seat"},
                                                                  {"--seat", "0"},
                                                                  {"--seat", ""},
                                                                  {"--seat", "3", "--spectator"},
                                                                  {"--spectator", "--seat", "3"}}) {
        EXPECT_FALSE(ParseArguments(args, problem)) << args.back();
        EXPECT_FALSE(problem.empty());
    }
}

TEST(ParseArguments, HelpWhereverItStands) {
    std::string problem;
    for (const auto& args : std::vector<std::vector<std::string>>{{"--help"}, {"--seed", "3", "--help"}}) {
        auto parsed = ParseArguments(args, problem);
        ASSERT_TRUE(parsed);
        EXPECT_TRUE(parsed->help);
    }
}

}  // namespace
}  // namespace veldrisa
