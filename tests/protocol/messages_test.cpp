// The clients' messages as the server reads them: fields, ranges, names, sizes.
#include "protocol/messages.hpp"

#include <gtest/gtest.h>

namespace veldrisa::protocol {
namespace {

template <typename T>
T Accepted(std::string_view text) {
    auto parsed = ParseClientMessage(text);
    const auto* message = std::get_if<ClientMessage>(&parsed);
    EXPECT_NE(message, nullptr) << text << ": " << std::get<Refusal>(parsed).detail;
    if (!message || !std::holds_alternative<T>(*message)) {
        ADD_FAILURE() << text << " was read as another message";
        return T{};
    }
    return std::get<T>(*message);
}

Reason Refused(std::string_view text) {
    auto parsed = ParseClientMessage(text);
    if (const auto* refusal = std::get_if<Refusal>(&parsed)) return refusal->reason;
    ADD_FAILURE() << text << " was accepted";
    return Reason::Invalid;
}

TEST(ProtocolMessages, FieldsAreReadIntoTheirMessages) {
    const Hello hello = Accepted<Hello>(R"({"type":"hello","version":1,"client":"bot",)"
                                        R"("token":"0123456789abcdef0123456789abcdef"})");
    EXPECT_EQ(hello.version, 1);
    EXPECT_EQ(hello.client, ClientKind::Bot);
    EXPECT_EQ(hello.token, "0123456789abcdef0123456789abcdef");

    const CreateTable table = Accepted<CreateTable>(
        R"({"type":"create_table","name":" Ana ","private":true,"code":"Ab12","time_limit":60})");
    EXPECT_EQ(table.name, "Ana");
    EXPECT_TRUE(table.isPrivate);
    EXPECT_EQ(table.code, "Ab12");
    EXPECT_EQ(table.timeLimit, 60);

    const Join join = Accepted<Join>(R"({"type":"join","table":"t7","as":"spectator","name":"Bea"})");
    EXPECT_EQ(join.table, "t7");
    EXPECT_TRUE(join.spectator);
    EXPECT_EQ(join.code, "");

    EXPECT_EQ(Accepted<Claim>(R"({"type":"claim","character":10})").character, 10);
    const Rename rename = Accepted<Rename>(R"({"type":"rename","character":3,"name":"Tomasa"})");
    EXPECT_EQ(rename.character, 3);
    EXPECT_EQ(rename.name, "Tomasa");
}

TEST(ProtocolMessages, GameKeysBecomeTheKeysOfTheLocalGame) {
    const GameKey discard = Accepted<GameKey>(R"({"type":"key","key":"2","control":true})");
    EXPECT_EQ(discard.key, (KeyEvent{Tecla::Digito(2), ModControl}));
    EXPECT_EQ(discard.character, 0);
    const GameKey cards = Accepted<GameKey>(R"({"type":"key","key":"C","control":false,"character":4})");
    EXPECT_EQ(cards.key, (KeyEvent{Tecla::C, 0}));
    EXPECT_EQ(cards.character, 4);
    EXPECT_EQ(Accepted<GameKey>(R"({"type":"key","key":"SPACE"})").key.code, Tecla::Espacio);
    // The voice and history keys stay in the client, and leaving is a message of its own.
    for (const char* key : {"F5", "F7", "F10", "F11", "ESC", "CTRL", "KP1", "10", "space", ""})
        EXPECT_EQ(Refused(std::string(R"({"type":"key","key":")") + key + "\"}"), Reason::Invalid) << key;
}

TEST(ProtocolMessages, WhatIsNotAMessageOfItsTypeIsRefusedWithItsReason) {
    EXPECT_EQ(Refused("{\"type\":\"hello\""), Reason::Malformed);
    EXPECT_EQ(Refused(""), Reason::Malformed);
    EXPECT_EQ(Refused("{\"type\":\"say\",\"text\":\"\xff\"}"), Reason::Malformed);
    EXPECT_EQ(Refused("[]"), Reason::Invalid);
    EXPECT_EQ(Refused(R"({"type":"say","text":"hola","before":false,"after":false})"), Reason::Invalid);
    EXPECT_EQ(Refused(R"({"type":"claim","character":11})"), Reason::Invalid);
    EXPECT_EQ(Refused(R"({"type":"claim","character":1.0})"), Reason::Invalid);
    EXPECT_EQ(Refused(R"({"type":"claim","character":18446744073709551615})"), Reason::Invalid);
    EXPECT_EQ(Refused(R"({"type":"claim","character":1,"as":"player"})"), Reason::Invalid);
    EXPECT_EQ(Refused(R"({"type":"create_table","name":"Ana","private":false,"time_limit":90})"),
              Reason::Invalid);
    EXPECT_EQ(Refused(R"({"type":"create_table","name":"Ana","private":true,"time_limit":0})"),
              Reason::Invalid);
    EXPECT_EQ(Refused(R"({"type":"join","table":"t1/../x","as":"player","name":"Ana"})"), Reason::Invalid);

    const std::string opening = R"({"type":"list_tables")";
    const std::string largest = opening + std::string(MaxMessageBytes - opening.size() - 1, ' ') + "}";
    Accepted<ListTables>(largest);
    EXPECT_EQ(Refused(opening + ' ' + largest.substr(opening.size())), Reason::TooLarge);
}

TEST(ProtocolMessages, NamesAreCleanedAsTheLocalFieldCleansThem) {
    EXPECT_EQ(CleanName("  Ana  "), "Ana");
    EXPECT_EQ(CleanName("A\tn\x1b[2Ja\x7f"), "An[2Ja");
    EXPECT_EQ(CleanName("Bea\xc2\x85"), "Bea");  // NEL, a control of the second range
    EXPECT_EQ(CleanName("Ñandú"), "Ñandú");
    EXPECT_EQ(CleanName("Jos\xe9"), "Jos\xef\xbf\xbd");  // Latin-1 é is no UTF-8
    EXPECT_EQ(CleanName(" \r\n "), std::nullopt);
    EXPECT_EQ(CleanName(std::string(MaxNameCharacters, 'a')), std::string(MaxNameCharacters, 'a'));
    EXPECT_EQ(CleanName(std::string(MaxNameCharacters + 1, 'a')), std::nullopt);
    // Characters, not bytes: forty two-byte letters still make a name.
    std::string enes;
    for (std::size_t i = 0; i < MaxNameCharacters; ++i) enes += "ñ";
    EXPECT_EQ(CleanName(enes), enes);
}

}  // namespace
}  // namespace veldrisa::protocol
