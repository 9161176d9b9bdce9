// The online tables' messages: what a client may ask, checked before it reaches a table, and
// what the server answers, built in one place (docs/protocol.md).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ports/keys.hpp"

namespace veldrisa::protocol {

inline constexpr int Version = 1;
// Client messages above this size are refused unread.
inline constexpr std::size_t MaxMessageBytes = 4096;
// A name's length once cleaned, in characters.
inline constexpr std::size_t MaxNameCharacters = 40;

enum class ClientKind { Native, Web, Bot };

struct Hello {
    int version = 0;
    ClientKind client = ClientKind::Native;
    std::string token;  // empty: a new connection
    // With a token: how many of its seat's game messages (say, sound, log, beep) the client
    // already has, so that coming back it receives exactly the rest.
    std::optional<int> seen;
};
struct ListTables {};
struct CreateTable {
    std::string name;
    bool isPrivate = false;
    std::string code;
    int timeLimit = 0;
};
struct Join {
    std::string table;
    bool spectator = false;
    std::string name;
    std::string code;
};
struct Claim {
    int character = 0;
};
struct Release {
    int character = 0;
};
struct Rename {
    int character = 0;
    std::string name;
};
struct Start {};
struct GameKey {
    KeyEvent key;
    int character = 0;  // 0: the character being asked
};
struct Leave {};

using ClientMessage =
    std::variant<Hello, ListTables, CreateTable, Join, Claim, Release, Rename, Start, GameKey, Leave>;

// Why a message was refused; the wire names are those of the schema.
enum class Reason {
    Malformed,
    TooLarge,
    Invalid,
    Version,
    Order,
    NoTable,
    Code,
    Taken,
    Full,
    NotYours,
    NotAllowed,
    Started,
    Rate,
    Token,
};

struct Refusal {
    Reason reason;
    std::string detail;  // for the server's own diagnostics; never sent
};

// One client message read and checked: every field present, of its type and in range, names
// cleaned. Nothing else is trusted about the text.
std::variant<ClientMessage, Refusal> ParseClientMessage(std::string_view text);

// A name from outside cleaned as the local name field cleans typed text, then stripped of control
// characters and of blanks at either end; nothing when it is left empty or too long.
std::optional<std::string> CleanName(std::string_view raw);

const char* ReasonName(Reason r);
// The Spanish words a player hears for a refusal.
const char* ReasonText(Reason r);

// The server's messages, each as its one-line JSON text.
std::string WelcomeMessage(std::string_view token);
std::string SayMessage(std::string_view text, bool before, bool after);
std::string SoundMessage(int player, std::string_view op, std::string_view fileName = {});
std::string LogMessage(std::string_view text);
std::string BeepMessage();
std::string ErrorMessage(Reason r);
// What a seat was told while away (each a message as sent): its spoken texts for the history, the
// messages themselves for a client that takes them up exactly, and a spoken summary.
std::string HistoryMessage(const std::vector<std::string>& missed, std::string_view summary);

// What the game waits for: a character's choice, a Space from anyone to go on, or, once a game has
// ended, a 1 for the next.
enum class Ask { Room, Card, Target, Next, End };
struct Turn {
    Ask ask = Ask::Next;
    int character = 0;  // Room, Card, Target: the character asked
    std::string name;   // its name
    int choices = 0;    // the digits that answer: 1 to choices
    std::string next;   // Next: what Space goes on to: "rooms", "cards" or "night"
    bool operator==(const Turn&) const = default;
};
// yours: the connection controls the character asked.
std::string TurnMessage(const Turn& turn, bool yours);

// One table in the list of tables.
struct TableSummary {
    std::string id;
    bool isPrivate = false;
    int timeLimit = 0;
    int players = 0;
    int spectators = 0;
    int free = 0;  // characters nobody has claimed
    bool started = false;
};
std::string TablesMessage(const std::vector<TableSummary>& tables);

// A table's lobby as one connection sees it.
struct CharacterEntry {
    std::string name;
    std::string player;  // empty: the computer plays it
    bool yours = false;
};
struct TableView {
    std::string id;
    bool isPrivate = false;
    int timeLimit = 0;
    bool creator = false;
    bool spectator = false;
    bool started = false;
    int spectators = 0;
    std::array<CharacterEntry, 10> characters;  // characters 1..10
    std::string event;                          // what changed, to be spoken; empty: nothing to say
};
std::string TableMessage(const TableView& view);

// A line of the game's own output, in the replay tool's notation, as the message a client
// receives; nothing for what a client has no use for (a window opening, the program's end).
std::optional<std::string> GameMessage(std::string_view replayLine);

}  // namespace veldrisa::protocol
