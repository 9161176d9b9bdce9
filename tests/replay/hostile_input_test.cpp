// What a hostile script or command line throws at the replay tool: its output stays valid UTF-8
// JSON, its error messages stay short and inert, its options say what was wrong.
#include <gtest/gtest.h>

#include <sstream>

#include "replay/replay.hpp"
#include "support/utf8_estricto.hpp"

namespace veldrisa {
namespace {

struct Run {
    int status;
    std::string out, err;
};

Run Replayed(const std::string& script, std::vector<std::string> args = {"--seed", "1"}) {
    std::istringstream in(script);
    std::ostringstream out, err;
    int status = Replay(args, in, out, err);
    return {status, out.str(), err.str()};
}

TEST(HostileInput, TheOutputIsValidUtf8WhateverBytesComeIn) {
    const std::string replacement = "\xEF\xBF\xBD";
    const std::string bytes[] = {"\xc0\xaf",     "\xff\xfe",         "Ana \xc3",
                                 "\xed\xa0\x80", "\xf4\x90\x80\x80", "\x80"};
    for (const std::string& b : bytes) {
        auto run = Replayed("F2\nTEXT " + b + "\nF5\nSTATE\nENTER\nSTATE\n",
                            {"--seed", "1", "--voice", "V\xe9" + b});
        EXPECT_EQ(run.status, 0) << run.err;
        std::istringstream lines(run.out);
        int count = 0;
        for (std::string line; std::getline(lines, line); ++count)
            EXPECT_TRUE(prueba::Utf8Estricto(line)) << line;
        EXPECT_GT(count, 8);
    }
    // The name is the one the game's own dialog would have taken: each stray byte one U+FFFD.
    auto run = Replayed(
        "F2\nTEXT \xc0\xaf"
        "Ana\nSTATE\n");
    EXPECT_NE(run.out.find("\"Nombre\":\"" + replacement + replacement + "Ana\""), std::string::npos)
        << run.out;
}

TEST(HostileInput, ErrorMessagesQuoteAShortPrefixWithControlCharactersEscaped) {
    const std::pair<std::string, std::string> cases[] = {
        {std::string("ENTER\0\n", 7), "line 1: unknown key name \"ENTER\\x00\"\n"},
        {"ENTER\r\r\n", "line 1: unknown key name \"ENTER\\r\"\n"},
        {"RIGHT\nX\x1b]0;title\x07\n", "line 2: unknown key name \"X\\x1b]0;title\\x07\"\n"},
        {"\x1b[2J\xc2\x9b"
         "31m\n",
         "line 1: unknown key name \"\\x1b[2J\\u009b31m\"\n"},
        {"A\xff\"\\\n", "line 1: unknown key name \"A\\xff\\\"\\\\\"\n"},
        {"CTRL+CTRL+\x1b\n", "line 1: modifier CTRL+ given twice in \"CTRL+CTRL+\\x1b\"\n"},
        // Every bidirectional control, each of which could turn the terminal's line around.
        {"\u202eLEFT\u200e\u200f\u202a\u202b\u202c\u202d\u2066\u2067\u2068\u2069\u061c\u2069\u200d\n",
         "line 1: unknown key name \"\\u202eLEFT\\u200e\\u200f\\u202a\\u202b\\u202c\\u202d\\u2066\\u2067"
         "\\u2068\\u2069\\u061c\\u2069\u200d\"\n"},
    };
    for (const auto& [script, message] : cases) {
        auto run = Replayed(script);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, "veldrisa-replay: " + message);
    }
    const std::string huge(10 << 20, 'A');
    auto run = Replayed(huge + "\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "veldrisa-replay: line 1: unknown key name \"" + std::string(40, 'A') +
                           "\"... (10485760 bytes)\n");
}

// With 32,768 voices or more, F9 and F10 walk the whole list and wrap at its ends.
TEST(HostileInput, TheVoiceIndexNeverLeavesTheListWhateverItsLength) {
    for (int count : {32767, 32768, 32769, 65537}) {
        SCOPED_TRACE(count);
        std::vector<std::string> args{"--seed", "1"};
        for (int i = 1; i <= count; ++i) args.insert(args.end(), {"--voice", "v" + std::to_string(i)});
        auto run = Replayed("F9\nF10\nF10\nF9\nF9\nSTATE\n", args);
        EXPECT_EQ(run.status, 0) << run.err;
        const std::string last = "v" + std::to_string(count);
        for (const std::string& heard : {last, std::string("v1"), std::string("v2"), std::string("v1"), last})
            EXPECT_NE(run.out.find("{\"ev\":\"say\",\"text\":\"" + heard + "\""), std::string::npos) << heard;
        EXPECT_NE(run.out.find("\"VozActual\":" + std::to_string(count - 1) + ","), std::string::npos);
    }
}

TEST(HostileInput, HelpAndUsageErrors) {
    auto help = Replayed("ENTER\n", {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(
        help.out,
        "usage: veldrisa-replay [--seed N] [--voice DESC]... [--no-voices] [--seat 3,7 | --spectator]\n");
    EXPECT_EQ(help.err, "");
    auto bad = Replayed("ENTER\n", {"--seed", "1", "--sed", "2"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(
        bad.err,
        "veldrisa-replay: unknown option \"--sed\"\n"
        "usage: veldrisa-replay [--seed N] [--voice DESC]... [--no-voices] [--seat 3,7 | --spectator]\n");
}

}  // namespace
}  // namespace veldrisa
