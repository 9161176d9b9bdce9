// The hall: a table made, joined, claimed and started by messages, and played to its end by keys,
// time-outs and a dropped player's grace period; every refusal with its reason.
#include "server/hall.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

namespace veldrisa {
namespace {

using namespace std::chrono_literals;

struct Sala {
    explicit Sala(JournalStore* store = nullptr)
        : hall([] { return 42u; }, [this] { return Token(++tokens); }, store) {}
    Hall hall;
    Instant now{};
    int tokens = 0;
    std::vector<Outgoing> sent;

    static std::string Token(int n) {
        std::string t = std::to_string(n);
        return std::string(32 - t.size(), '0') + t;
    }
    void send(ConnectionId from, std::string_view text) {
        for (Outgoing& o : hall.receive(from, text, now)) sent.push_back(std::move(o));
    }
    void drop(ConnectionId c) {
        for (Outgoing& o : hall.drop(c, now)) sent.push_back(std::move(o));
    }
    void wait(std::chrono::seconds s) {
        now += s;
        for (Outgoing& o : hall.tick(now)) sent.push_back(std::move(o));
    }
    std::vector<std::string> to(ConnectionId c) const {
        std::vector<std::string> out;
        for (const Outgoing& o : sent)
            if (o.to == c) out.push_back(o.message);
        return out;
    }
    bool got(ConnectionId c, std::string_view fragment) const {
        const auto all = to(c);
        return std::any_of(all.begin(), all.end(),
                           [&](const std::string& m) { return m.find(fragment) != std::string::npos; });
    }
    std::string last(ConnectionId c) const { return to(c).back(); }

    // Ana creates a table with a time limit, Bea joins as a player, Carla watches; Ana plays 3, Bea 7.
    void seated() {
        for (ConnectionId c : {1, 2, 3}) send(c, R"({"type":"hello","version":1,"client":"bot"})");
        send(1, R"({"type":"create_table","name":"Ana","private":true,"code":"clave1","time_limit":30})");
        send(2, R"({"type":"join","table":"t1","as":"player","name":"Bea","code":"clave1"})");
        send(3, R"({"type":"join","table":"t1","as":"spectator","name":"Carla","code":"clave1"})");
        send(1, R"({"type":"claim","character":3})");
        send(2, R"({"type":"claim","character":7})");
        send(2, R"({"type":"rename","character":7,"name":"Beatriz"})");
    }
};

TEST(Hall, ATableIsMadeJoinedClaimedAndStartedOnlyAsTheRulesAllow) {
    Sala s;
    s.send(1, R"({"type":"list_tables"})");
    EXPECT_NE(s.last(1).find(R"("reason":"order")"), std::string::npos) << "hello comes first";
    s.send(1, R"({"type":"hello","version":2,"client":"bot"})");
    EXPECT_NE(s.last(1).find(R"("reason":"version")"), std::string::npos);
    s.seated();
    s.send(4, R"({"type":"hello","version":1,"client":"web"})");
    s.send(4, R"({"type":"join","table":"t1","as":"player","name":"Dora"})");
    EXPECT_NE(s.last(4).find(R"("reason":"code")"), std::string::npos);
    s.send(4, R"({"type":"join","table":"t9","as":"player","name":"Dora"})");
    EXPECT_NE(s.last(4).find(R"("reason":"no_table")"), std::string::npos);
    s.send(2, R"({"type":"claim","character":3})");
    EXPECT_NE(s.last(2).find(R"("reason":"taken")"), std::string::npos);
    s.send(3, R"({"type":"claim","character":4})");
    EXPECT_NE(s.last(3).find(R"("reason":"not_allowed")"), std::string::npos) << "spectators cannot act";
    s.send(2, R"({"type":"start"})");
    EXPECT_NE(s.last(2).find(R"("reason":"not_allowed")"), std::string::npos) << "only the creator starts";
    s.send(2, R"({"type":"key","key":"SPACE"})");
    EXPECT_NE(s.last(2).find(R"("reason":"order")"), std::string::npos) << "no game yet";
    EXPECT_TRUE(s.got(1, R"("name":"Beatriz")"));
    EXPECT_TRUE(s.got(1, R"("event":"Bea juega con Beatriz")") || s.got(1, "Bea juega con"));

    s.send(1, R"({"type":"start"})");
    EXPECT_TRUE(s.got(3, R"("event":"La partida empieza")"));
    EXPECT_TRUE(s.got(3, "Los actuales aspirantes a la fortuna de Veldrisa son"));
    s.send(2, R"({"type":"claim","character":5})");
    EXPECT_NE(s.last(2).find(R"("reason":"started")"), std::string::npos);
    s.send(2, R"({"type":"key","key":"F7"})");
    EXPECT_NE(s.last(2).find(R"("reason":"invalid")"), std::string::npos) << "voice keys stay in the client";
}

TEST(Hall, AGameGoesToItsEndByKeysAndTimeOutsAndEachConnectionHearsOnlyItsOwn) {
    Sala s;
    s.seated();
    s.send(1, R"({"type":"start"})");
    for (int i = 0; i < 400 && !s.got(3, "La partida ha terminado"); ++i) {
        s.send(1, R"({"type":"key","key":"SPACE"})");
        s.wait(31s);
    }
    EXPECT_TRUE(s.got(3, "La partida ha terminado"));
    EXPECT_TRUE(s.got(3, "El tiempo se ha agotado: el ordenador elige por Beatriz"));
    EXPECT_TRUE(s.got(1, "Turno de Beatriz"));
    EXPECT_TRUE(s.got(2, "Beatriz, es su turno de jugar"));
    EXPECT_FALSE(s.got(1, "Beatriz, es su turno de jugar"));
    EXPECT_FALSE(s.got(3, "es su turno de jugar"));
    EXPECT_FALSE(s.got(3, "Sus cartas son"));
    for (ConnectionId c : {1, 2, 3})
        EXPECT_FALSE(s.got(c, "fuego.wav")) << "the server's own paths stay there";
}

TEST(Hall, ADroppedPlayersCharactersGoToTheComputerAfterTheGracePeriod) {
    Sala s;
    s.seated();
    s.send(1, R"({"type":"start"})");
    s.send(1, R"({"type":"key","key":"SPACE"})");
    s.hall.drop(2, s.now);
    s.hall.drop(1, s.now);
    // Nobody left to press a key, and no time limit reached: the game waits for the players.
    s.wait(20s);
    const auto heard = s.to(3).size();
    s.wait(Hall::Grace);
    EXPECT_GT(s.to(3).size(), heard);
    EXPECT_TRUE(s.got(3, "salas asignadas") || s.got(3, "cartas seleccionadas"));
}

TEST(Hall, APlayerDroppedBeforeTheStartKeepsItsCharactersForTheGracePeriod) {
    Sala s;
    s.seated();
    const std::string hello =
        R"({"type":"hello","version":1,"client":"native","token":")" + Sala::Token(2) + R"("})";
    s.drop(2);
    EXPECT_NE(s.last(1).find(R"("event":"Bea ha perdido la conexión")"), std::string::npos) << s.last(1);
    EXPECT_NE(
        s.last(1).find(R"("character":7,"computer":false,"name":"Beatriz","player":"Bea","yours":false)"),
        std::string::npos)
        << "its character keeps its name: " << s.last(1);
    s.send(4, R"({"type":"hello","version":1,"client":"web"})");
    s.send(4, R"({"type":"join","table":"t1","as":"player","name":"Dora","code":"clave1"})");
    s.send(4, R"({"type":"claim","character":7})");
    EXPECT_NE(s.last(4).find(R"("reason":"taken")"), std::string::npos);
    s.wait(Hall::Grace - 1s);
    s.send(6, hello);
    ASSERT_EQ(s.to(6).size(), 2u);
    EXPECT_NE(s.to(6)[0].find(Sala::Token(2)), std::string::npos);
    EXPECT_NE(s.last(1).find(R"("event":"Bea ha vuelto")"), std::string::npos);
    EXPECT_NE(s.last(6).find(R"("name":"Beatriz","player":"Bea","yours":true)"), std::string::npos)
        << s.last(6);
    // Away past the wait: the character is free again, and the token takes nothing back.
    s.drop(6);
    s.wait(Hall::Grace);
    EXPECT_NE(s.last(1).find(R"("event":"Bea ha dejado la mesa")"), std::string::npos) << s.last(1);
    s.send(4, R"({"type":"claim","character":7})");
    EXPECT_NE(s.last(4).find(R"("name":"Beatriz","player":"Dora","yours":true)"), std::string::npos)
        << s.last(4);
    s.send(7, hello);
    EXPECT_NE(s.last(7).find(R"("reason":"token")"), std::string::npos);
}

TEST(Hall, APlayerAwayWhenTheGameStartsComesBackIntoItFromItsFirstMessage) {
    Sala s;
    s.seated();
    s.drop(2);
    s.send(1, R"({"type":"start"})");
    EXPECT_TRUE(s.got(1, "La partida empieza"));
    s.send(6,
           R"({"type":"hello","version":1,"client":"native","token":")" + Sala::Token(2) + R"(","seen":0})");
    const auto back = s.to(6);
    ASSERT_GE(back.size(), 2u);
    EXPECT_NE(back[1].find(R"("type":"history")"), std::string::npos);
    EXPECT_NE(back[1].find("Beatriz"), std::string::npos) << "the game's first messages: " << back[1];
    EXPECT_NE(back[1].find("Ha vuelto a la partida."), std::string::npos);
}

TEST(Hall, ATableNobodyCanComeBackToLeavesTheList) {
    Sala s;
    const auto listed = [&s](const std::string& id) {
        s.send(9, R"({"type":"list_tables"})");
        return s.last(9).find(R"("id":")" + id + "\"") != std::string::npos;
    };
    s.send(9, R"({"type":"hello","version":1,"client":"bot"})");
    // Played, then every player went: the spectator keeps it listed until it goes too.
    s.seated();
    s.send(1, R"({"type":"start"})");
    for (ConnectionId c : {1, 2}) s.send(c, R"({"type":"leave"})");
    EXPECT_TRUE(listed("t1"));
    s.drop(3);
    EXPECT_FALSE(listed("t1"));
    // Made and left before anyone came.
    s.send(1, R"({"type":"create_table","name":"Ana","private":false,"time_limit":0})");
    ASSERT_TRUE(listed("t2"));
    s.send(1, R"({"type":"leave"})");
    EXPECT_FALSE(listed("t2"));
    // A player whose connection dropped may come back: listed until its wait is over.
    s.send(4, R"({"type":"hello","version":1,"client":"bot"})");
    s.send(4, R"({"type":"create_table","name":"Dora","private":false,"time_limit":0})");
    s.drop(4);
    s.wait(Hall::Grace - 1s);
    EXPECT_TRUE(listed("t3"));
    s.wait(1s);
    EXPECT_FALSE(listed("t3"));
}

TEST(Hall, LeavingOnPurposeHandsTheCharactersToTheComputerAtOnce) {
    Sala s;
    s.seated();
    s.send(2, R"({"type":"leave"})");
    EXPECT_TRUE(s.got(1, R"("event":"Bea ha dejado la mesa")"));
    EXPECT_NE(s.last(1).find(R"("character":7,"computer":true)"), std::string::npos) << s.last(1);
}

TEST(Hall, APlayerBackWithItsTokenFindsItsSeatWhatItMissedAndItsCharactersBack) {
    Sala s;
    s.seated();
    s.send(1, R"({"type":"start"})");
    const std::string token = Sala::Token(2);  // Bea's
    const std::string hello = R"({"type":"hello","version":1,"client":"native","token":")" + token + R"("})";
    s.hall.drop(2, s.now);
    s.send(1, R"({"type":"key","key":"SPACE"})");
    s.wait(Hall::Grace);
    s.wait(31s);
    s.send(5, R"({"type":"hello","version":1,"client":"bot","token":"00000000000000000000000000000099"})");
    EXPECT_NE(s.last(5).find(R"("reason":"token")"), std::string::npos) << "only its own token takes a seat";
    s.send(6, hello);
    const auto back = s.to(6);
    ASSERT_GE(back.size(), 3u);
    EXPECT_NE(back[0].find(token), std::string::npos);
    EXPECT_NE(back[1].find(R"("type":"history")"), std::string::npos);
    EXPECT_NE(back[1].find("salas asignadas"), std::string::npos) << "what it missed: " << back[1];
    EXPECT_NE(back[1].find("Ha vuelto a la partida."), std::string::npos);
    EXPECT_NE(back[2].find(R"("type":"turn")"), std::string::npos) << "then what the game waits for";
    EXPECT_EQ(back[3].find(R"("event":"Bea ha vuelto")"), std::string::npos) << "told to the others only";
    EXPECT_TRUE(s.got(1, R"("event":"Bea ha vuelto")"));
    // Its character is its own again: the next prompt for Beatriz reaches it.
    for (int i = 0; i < 200 && !s.got(6, "Beatriz, es su turno de jugar"); ++i) {
        s.send(1, R"({"type":"key","key":"SPACE"})");
        s.send(6, R"({"type":"key","key":"SPACE"})");
        s.wait(31s);
    }
    EXPECT_TRUE(s.got(6, "Beatriz, es su turno de jugar"));
    s.send(7, hello);
    EXPECT_NE(s.last(7).find(R"("reason":"token")"), std::string::npos) << "one connection per seat";
}

// The game messages a connection received, in order, as JSON objects.
std::vector<nlohmann::json> GameMessages(const Sala& s, ConnectionId c) {
    std::vector<nlohmann::json> found;
    for (const std::string& text : s.to(c)) {
        auto m = nlohmann::json::parse(text);
        const std::string type = m["type"];
        if (type == "say" || type == "sound" || type == "log" || type == "beep") found.push_back(m);
    }
    return found;
}

nlohmann::json History(const Sala& s, ConnectionId c) {
    for (const std::string& text : s.to(c))
        if (text.find(R"("type":"history")") != std::string::npos) return nlohmann::json::parse(text);
    return {};
}

TEST(Hall, WhatTheGameWaitsForGoesToEveryoneAtTheTableOnlyWhenItChanges) {
    Sala s;
    s.seated();
    s.send(1, R"({"type":"start"})");
    EXPECT_NE(s.last(3).find(R"("ask":"next","next":"rooms")"), std::string::npos) << s.last(3);
    std::vector<nlohmann::json> turns;
    for (int i = 0; i < 60; ++i) {
        const std::size_t before = s.sent.size();
        s.send(1 + i % 2, i % 4 == 3 ? R"({"type":"key","key":"C"})" : R"({"type":"key","key":"SPACE"})");
        s.send(1, R"({"type":"key","key":"1"})");
        s.send(2, R"({"type":"key","key":"2"})");
        for (std::size_t k = before; k < s.sent.size(); ++k) {
            auto m = nlohmann::json::parse(s.sent[k].message);
            if (m["type"] != "turn") continue;
            const bool owner = (m.value("character", 0) == 3 && s.sent[k].to == 1) ||
                               (m.value("character", 0) == 7 && s.sent[k].to == 2);
            EXPECT_EQ(m["yours"], owner) << m.dump() << " to " << s.sent[k].to;
            if (s.sent[k].to == 3) turns.push_back(m);
        }
    }
    ASSERT_GT(turns.size(), 6u);
    for (std::size_t i = 1; i < turns.size(); ++i) EXPECT_NE(turns[i], turns[i - 1]) << "told twice";
    const auto asks = [&](const char* ask) {
        return std::any_of(turns.begin(), turns.end(), [&](const auto& t) { return t["ask"] == ask; });
    };
    EXPECT_TRUE(asks("room") && asks("card")) << "the players' own choices are announced";
}

TEST(Hall, APlayerBackWithWhatItHasSeenReceivesExactlyTheRestEvenWhatWentToItsLostConnection) {
    Sala s;
    s.seated();
    s.send(1, R"({"type":"start"})");
    s.send(1, R"({"type":"key","key":"SPACE"})");
    const std::size_t kept = GameMessages(s, 2).size();
    // What follows went to Bea's connection while it was already lost, before the server knew.
    for (int i = 0; i < 6; ++i) {
        s.send(1, R"({"type":"key","key":"1"})");
        s.send(2, R"({"type":"key","key":"2"})");
        s.send(1, R"({"type":"key","key":"SPACE"})");
    }
    const auto all = GameMessages(s, 2);
    ASSERT_GT(all.size(), kept + 3);
    s.hall.drop(2, s.now);
    s.send(1, R"({"type":"key","key":"SPACE"})");
    s.send(6, R"({"type":"hello","version":1,"client":"web","token":")" + Sala::Token(2) + R"(","seen":)" +
                  std::to_string(kept) + "}");
    auto expected = std::vector<nlohmann::json>(all.begin() + static_cast<std::ptrdiff_t>(kept), all.end());
    const auto history = History(s, 6);
    const auto afterDrop = GameMessages(s, 1).size();
    ASSERT_TRUE(history.contains("missed")) << history.dump();
    const auto& missed = history["missed"];
    ASSERT_GE(missed.size(), expected.size());
    EXPECT_EQ(std::vector<nlohmann::json>(missed.begin(),
                                          missed.begin() + static_cast<std::ptrdiff_t>(expected.size())),
              expected);
    EXPECT_GT(afterDrop, 0u);
    // A seen beyond what was sent takes nothing twice.
    s.hall.drop(6, s.now);
    s.send(7,
           R"({"type":"hello","version":1,"client":"web","token":")" + Sala::Token(2) + R"(","seen":99999})");
    EXPECT_TRUE(History(s, 7)["missed"].empty());
}

TEST(Hall, ARestartedHallTakesUpEveryStartedTableFromItsJournal) {
    const auto file =
        std::filesystem::temp_directory_path() / ("veldrisa-hall-" + std::to_string(getpid()) + ".sqlite");
    std::filesystem::remove(file);
    nlohmann::json seenBefore;
    {
        JournalStore store(file.string());
        Sala s(&store);
        s.seated();
        s.send(1, R"({"type":"start"})");
        for (int i = 0; i < 5; ++i) {
            s.send(1, R"({"type":"key","key":"SPACE"})");
            s.wait(31s);
        }
        const auto bea = GameMessages(s, 2);
        seenBefore = nlohmann::json(std::vector<nlohmann::json>(bea.begin() + 3, bea.end()));
    }
    JournalStore store(file.string());
    Sala s(&store);
    s.send(8,
           R"({"type":"hello","version":1,"client":"native","token":")" + Sala::Token(2) + R"(","seen":3})");
    const auto back = s.to(8);
    // Its history is rebuilt from the journal: everything from its fourth message on.
    EXPECT_EQ(History(s, 8)["missed"], seenBefore) << "the same messages as before the restart";
    ASSERT_GE(back.size(), 2u);
    EXPECT_NE(back[0].find(R"("type":"welcome")"), std::string::npos);
    EXPECT_NE(back[1].find("Ha vuelto a la partida."), std::string::npos);
    // The table goes on where it stood: a new table gets a new identifier.
    s.send(9, R"({"type":"hello","version":1,"client":"bot"})");
    s.send(9, R"({"type":"create_table","name":"Otra","private":false,"time_limit":0})");
    EXPECT_NE(s.last(9).find(R"("id":"t2")"), std::string::npos);
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace veldrisa
