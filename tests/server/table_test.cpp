// An online table against the replay tool: every seat's stream is what veldrisa-replay --seat
// prints for the table's journal, whatever the seats press, and a journal restores its game.
#include "server/table.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

#include "replay/replay.hpp"

namespace veldrisa {
namespace {

// Three seats: characters 2, 5 and 9, 7; two of them renamed.
TableSetup Mesa3(std::uint32_t seed) {
    TableSetup setup;
    setup.seed = seed;
    setup.seats = {*ParseSeat("2"), *ParseSeat("5,9"), *ParseSeat("7")};
    setup.names[5] = "Doña Rosa";
    setup.names[7] = "  Tomás el bueno";
    return setup;
}

// The replay tool's lines for the journal, from the game's opening on, as one seat receives them.
std::vector<std::string> ReplaySeat(std::uint32_t seed, const std::vector<std::string>& journal,
                                    const std::vector<std::string>& seat) {
    std::string input;
    for (const std::string& line : journal) input += line + "\n";
    std::istringstream in(input);
    std::ostringstream out, err;
    std::vector<std::string> args{"--seed", std::to_string(seed)};
    args.insert(args.end(), seat.begin(), seat.end());
    EXPECT_EQ(Replay(args, in, out, err), 0) << err.str();
    std::vector<std::string> lines;
    std::istringstream written(out.str());
    bool opened = false;
    for (std::string line; std::getline(written, line);) {
        opened = opened || line == R"({"ev":"screen","name":"game"})";
        if (opened) lines.push_back(line);
    }
    return lines;
}

// Seats pressing keys at random, the way impatient players would, with now and then a time-out or
// a character handed to the computer and taken back; refused keys included.
void Play(OnlineTable& table, std::vector<std::vector<std::string>>& streams, std::mt19937& rng,
          int presses) {
    static const KeyEvent Keys[] = {
        {Tecla::Espacio, 0},   {Tecla::Espacio, 0},   {Tecla::Digito(1), 0},
        {Tecla::Digito(2), 0}, {Tecla::Digito(3), 0}, {Tecla::Digito(1), ModControl},
        {Tecla::C, 0},         {Tecla::P, 0},         {Tecla::H, 0},
        {Tecla::F6, 0},        {Tecla::Digito(0), 0}, {Tecla::F1, 0}};
    auto collect = [&] {
        for (std::size_t r = 0; r < streams.size(); ++r)
            for (std::string& line : table.take(r)) streams[r].push_back(std::move(line));
    };
    collect();
    for (int i = 0; i < presses && !table.ended(); ++i) {
        const auto pick = rng() % 100;
        if (pick < 3) {
            table.timeOut();
        } else if (pick < 4) {
            table.handToComputer(9);
        } else if (pick < 5) {
            table.takeBack(9);
        } else {
            const std::size_t seat = rng() % 3;
            table.press(seat, Keys[rng() % std::size(Keys)], seat == 1 && rng() % 2 ? 9 : 0);
        }
        collect();
    }
}

TEST(OnlineTable, EverySeatReceivesWhatTheReplayToolPrintsForItOnTheJournal) {
    const std::vector<std::vector<std::string>> seats{
        {"--seat", "2"}, {"--seat", "5,9"}, {"--seat", "7"}, {"--spectator"}};
    int whole = 0;
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        OnlineTable table(Mesa3(seed));
        std::vector<std::vector<std::string>> streams(seats.size());
        std::mt19937 rng(seed);
        Play(table, streams, rng, 1500);
        whole += std::any_of(streams[3].begin(), streams[3].end(), [](const std::string& line) {
            return line.find("La partida ha terminado") != std::string::npos;
        });
        for (std::size_t r = 0; r < seats.size(); ++r)
            EXPECT_EQ(streams[r], ReplaySeat(seed, table.journal(), seats[r]))
                << "seed " << seed << ", " << seats[r].back();
    }
    // Games played to their end, not only their first days.
    EXPECT_GE(whole, 6);
}

TEST(OnlineTable, WhileOnePlayerChoosesTheOthersMayOnlyAskForTheirOwnInformation) {
    OnlineTable table(Mesa3(3));
    ASSERT_FALSE(table.press(0, {Tecla::Espacio, 0}));
    const auto asked = table.asked();
    ASSERT_TRUE(asked);
    const std::size_t owner = *asked == 2 ? 0 : (*asked == 7 ? 2 : 1), other = owner == 0 ? 2 : 0;
    const auto journal = table.journal().size();
    EXPECT_EQ(table.press(other, {Tecla::Digito(1), 0}), protocol::Reason::NotYours);
    EXPECT_EQ(table.press(other, {Tecla::Espacio, 0}), protocol::Reason::NotYours);
    EXPECT_EQ(table.press(other, {Tecla::F6, 0}), protocol::Reason::NotYours);
    EXPECT_EQ(table.press(other, {Tecla::C, 0}, 5), protocol::Reason::NotYours) << "not its character";
    EXPECT_EQ(table.journal().size(), journal);
    EXPECT_FALSE(table.press(other, {Tecla::C, 0}));
    EXPECT_FALSE(table.press(other, {Tecla::H, 0}));
    EXPECT_EQ(table.asked(), asked);
    EXPECT_FALSE(table.press(owner, {Tecla::Digito(1), 0}));
    EXPECT_NE(table.asked(), asked);
}

TEST(OnlineTable, AJournalRestoresTheSameGameAtTheSameTurn) {
    for (std::uint32_t seed = 20; seed <= 25; ++seed) {
        OnlineTable table(Mesa3(seed));
        std::vector<std::vector<std::string>> streams(4);
        std::mt19937 rng(seed);
        Play(table, streams, rng, 300);
        OnlineTable restored(Mesa3(seed), table.journal());
        EXPECT_EQ(restored.journal(), table.journal());
        EXPECT_EQ(restored.asked(), table.asked());
        EXPECT_TRUE(restored.take(1).empty()) << "a restored table resends nothing";
        // Both go on alike: the same keys give the same streams.
        std::vector<std::vector<std::string>> a(4), b(4);
        std::mt19937 rngA(seed * 7), rngB(seed * 7);
        Play(table, a, rngA, 300);
        Play(restored, b, rngB, 300);
        EXPECT_EQ(a, b) << "seed " << seed;
    }
}

}  // namespace
}  // namespace veldrisa
