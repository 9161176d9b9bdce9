// Reading and checking the clients' messages, and writing the server's.
#include "protocol/messages.hpp"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <limits>
#include <nlohmann/json.hpp>
#include <utility>

#include "platform/shared/valid_utf8.hpp"

namespace veldrisa::protocol {
namespace {

using nlohmann::json;

// Thrown inside the parser only, caught at its edge.
struct Bad {
    Reason reason;
    std::string detail;
};

[[noreturn]] void Invalid(std::string detail) { throw Bad{Reason::Invalid, std::move(detail)}; }

// A message has exactly the fields of its type: required ones present, nothing unknown.
void Fields(const json& m, std::initializer_list<const char*> required,
            std::initializer_list<const char*> optional = {}) {
    for (const char* f : required)
        if (!m.contains(f)) Invalid(std::string("missing field ") + f);
    for (const auto& item : m.items()) {
        const std::string& key = item.key();
        auto known = [&key](const char* f) { return key == f; };
        if (key != "type" && std::none_of(required.begin(), required.end(), known) &&
            std::none_of(optional.begin(), optional.end(), known))
            Invalid("unknown field " + key);
    }
}

const std::string& Text(const json& m, const char* field) {
    const json& v = m.at(field);
    if (!v.is_string()) Invalid(std::string(field) + " is not a string");
    return v.get_ref<const std::string&>();
}

bool Flag(const json& m, const char* field) {
    const json& v = m.at(field);
    if (!v.is_boolean()) Invalid(std::string(field) + " is not true or false");
    return v.get<bool>();
}

int Whole(const json& m, const char* field, int lo, int hi) {
    const json& v = m.at(field);
    if (!v.is_number_integer()) Invalid(std::string(field) + " is not a whole number");
    const auto n = v.get<std::int64_t>();
    if (n < lo || n > hi) Invalid(std::string(field) + " is out of range");
    return static_cast<int>(n);
}

std::string Name(const json& m) {
    auto name = CleanName(Text(m, "name"));
    if (!name) Invalid("name is empty or too long");
    return *name;
}

bool AllOf(std::string_view text, std::size_t lo, std::size_t hi, bool (*allowed)(char)) {
    return text.size() >= lo && text.size() <= hi && std::all_of(text.begin(), text.end(), allowed);
}
bool LetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool LowerOrDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); }
bool HexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

std::string Checked(const json& m, const char* field, std::size_t lo, std::size_t hi, bool (*allowed)(char)) {
    const std::string& text = Text(m, field);
    if (!AllOf(text, lo, hi, allowed)) Invalid(std::string(field) + " is not well formed");
    return text;
}
std::string Code(const json& m) { return Checked(m, "code", 4, 12, LetterOrDigit); }
std::string TableId(const json& m) { return Checked(m, "table", 1, 16, LowerOrDigit); }

int Character(const json& m) { return Whole(m, "character", 1, 10); }

Hello ReadHello(const json& m) {
    Fields(m, {"version", "client"}, {"token", "seen"});
    Hello h;
    h.version = Whole(m, "version", 1, 65535);
    const std::string& kind = Text(m, "client");
    if (kind == "native")
        h.client = ClientKind::Native;
    else if (kind == "web")
        h.client = ClientKind::Web;
    else if (kind == "bot")
        h.client = ClientKind::Bot;
    else
        Invalid("unknown client kind");
    if (m.contains("token")) h.token = Checked(m, "token", 32, 32, HexDigit);
    if (m.contains("seen") && !m.contains("token")) Invalid("seen goes with a token");
    if (m.contains("seen")) h.seen = Whole(m, "seen", 0, std::numeric_limits<int>::max());
    return h;
}

CreateTable ReadCreateTable(const json& m) {
    Fields(m, {"name", "private", "time_limit"}, {"code"});
    CreateTable c;
    c.name = Name(m);
    c.isPrivate = Flag(m, "private");
    if (c.isPrivate != m.contains("code")) Invalid("a code goes with a private table, and only there");
    if (c.isPrivate) c.code = Code(m);
    c.timeLimit = Whole(m, "time_limit", 0, 120);
    if (c.timeLimit != 0 && c.timeLimit != 30 && c.timeLimit != 60 && c.timeLimit != 120)
        Invalid("time_limit is none of 0, 30, 60, 120");
    return c;
}

Join ReadJoin(const json& m) {
    Fields(m, {"table", "as", "name"}, {"code"});
    Join j;
    j.table = TableId(m);
    const std::string& as = Text(m, "as");
    if (as != "player" && as != "spectator") Invalid("as is neither player nor spectator");
    j.spectator = as == "spectator";
    j.name = Name(m);
    if (m.contains("code")) j.code = Code(m);
    return j;
}

// The keys a seat may send, by their names in the messages.
constexpr std::array<std::pair<std::string_view, int>, 7> NamedKeys{{
    {"SPACE", Tecla::Espacio},
    {"F1", Tecla::F1},
    {"F2", Tecla::F2},
    {"F6", Tecla::F6},
    {"C", Tecla::C},
    {"P", Tecla::P},
    {"H", Tecla::H},
}};

int KeyCode(std::string_view name) {
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return Tecla::Digito(name[0] - '0');
    for (const auto& [n, code] : NamedKeys)
        if (n == name) return code;
    Invalid("not a game key");
}

GameKey ReadKey(const json& m) {
    Fields(m, {"key"}, {"control", "character"});
    GameKey k;
    k.key.code = KeyCode(Text(m, "key"));
    if (m.contains("control") && Flag(m, "control")) k.key.mask = ModControl;
    if (m.contains("character")) k.character = Character(m);
    return k;
}

ClientMessage Read(const json& m) {
    if (!m.is_object()) Invalid("not an object");
    if (!m.contains("type")) Invalid("missing field type");
    const std::string& type = Text(m, "type");
    if (type == "hello") return ReadHello(m);
    if (type == "list_tables") return Fields(m, {}), ListTables{};
    if (type == "create_table") return ReadCreateTable(m);
    if (type == "join") return ReadJoin(m);
    if (type == "claim") return Fields(m, {"character"}), Claim{Character(m)};
    if (type == "release") return Fields(m, {"character"}), Release{Character(m)};
    if (type == "rename") return Fields(m, {"character", "name"}), Rename{Character(m), Name(m)};
    if (type == "start") return Fields(m, {}), Start{};
    if (type == "key") return ReadKey(m);
    if (type == "leave") return Fields(m, {}), Leave{};
    Invalid("unknown type " + type);
}

bool ControlCharacter(std::string_view text, std::size_t i, std::size_t& length) {
    const auto c = static_cast<unsigned char>(text[i]);
    length = 1;
    if (c < 0x20 || c == 0x7F) return true;
    // U+0080..U+009F, the C1 controls, are C2 80..C2 9F in UTF-8.
    if (c == 0xC2 && i + 1 < text.size()) {
        const auto next = static_cast<unsigned char>(text[i + 1]);
        length = 2;
        return next >= 0x80 && next <= 0x9F;
    }
    return false;
}

std::size_t Characters(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(
        utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Line(const json& m) { return m.dump(-1, ' ', false, json::error_handler_t::replace); }

}  // namespace

std::optional<std::string> CleanName(std::string_view raw) {
    const std::string valid = ValidUtf8(raw);
    std::string clean;
    for (std::size_t i = 0; i < valid.size();) {
        std::size_t length = 1;
        if (!ControlCharacter(valid, i, length)) clean.append(valid, i, length);
        i += length;
    }
    const auto first = clean.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    clean = clean.substr(first, clean.find_last_not_of(' ') - first + 1);
    if (Characters(clean) > MaxNameCharacters) return std::nullopt;
    return clean;
}

std::variant<ClientMessage, Refusal> ParseClientMessage(std::string_view text) {
    if (text.size() > MaxMessageBytes) return Refusal{Reason::TooLarge, "message too large"};
    const json m = json::parse(text, nullptr, false);
    if (m.is_discarded()) return Refusal{Reason::Malformed, "not JSON"};
    try {
        return Read(m);
    } catch (const Bad& bad) {
        return Refusal{bad.reason, bad.detail};
    }
}

const char* ReasonName(Reason r) {
    switch (r) {
        case Reason::Malformed: return "malformed";
        case Reason::TooLarge: return "too_large";
        case Reason::Invalid: return "invalid";
        case Reason::Version: return "version";
        case Reason::Order: return "order";
        case Reason::NoTable: return "no_table";
        case Reason::Code: return "code";
        case Reason::Taken: return "taken";
        case Reason::Full: return "full";
        case Reason::NotYours: return "not_yours";
        case Reason::NotAllowed: return "not_allowed";
        case Reason::Started: return "started";
        case Reason::Rate: return "rate";
        case Reason::Token: return "token";
    }
    return "invalid";
}

const char* ReasonText(Reason r) {
    switch (r) {
        case Reason::Malformed: return "El servidor no ha entendido el mensaje.";
        case Reason::TooLarge: return "El mensaje es demasiado largo.";
        case Reason::Invalid: return "El mensaje no es válido.";
        case Reason::Version: return "El servidor usa otra versión del protocolo.";
        case Reason::Order: return "Eso no se puede hacer ahora.";
        case Reason::NoTable: return "Esa mesa no existe.";
        case Reason::Code: return "El código de la mesa no es correcto.";
        case Reason::Taken: return "Ese personaje ya lo controla otro jugador.";
        case Reason::Full: return "La mesa está completa.";
        case Reason::NotYours: return "No es su turno.";
        case Reason::NotAllowed: return "No tiene permiso para hacer eso.";
        case Reason::Started: return "La partida ya ha empezado.";
        case Reason::Rate: return "Demasiados mensajes seguidos; espere un momento.";
        case Reason::Token: return "La sesión ha caducado.";
    }
    return "El mensaje no es válido.";
}

std::string WelcomeMessage(std::string_view token) {
    return Line({{"type", "welcome"}, {"version", Version}, {"token", token}});
}

std::string SayMessage(std::string_view text, bool before, bool after) {
    return Line({{"type", "say"}, {"text", text}, {"before", before}, {"after", after}});
}

std::string SoundMessage(int player, std::string_view op, std::string_view fileName) {
    json m{{"type", "sound"}, {"player", player}, {"op", op}};
    if (op == "file") m["name"] = fileName;
    return Line(m);
}

std::string LogMessage(std::string_view text) { return Line({{"type", "log"}, {"text", text}}); }

std::string BeepMessage() { return Line({{"type", "beep"}}); }

std::string HistoryMessage(const std::vector<std::string>& missed, std::string_view summary) {
    json texts = json::array(), whole = json::array();
    for (const std::string& m : missed) {
        const json message = json::parse(m, nullptr, false);
        if (!message.is_object()) continue;
        whole.push_back(message);
        if (message.value("type", "") == "say") texts.push_back(message["text"]);
    }
    return Line({{"type", "history"}, {"messages", texts}, {"summary", summary}, {"missed", whole}});
}

std::string TurnMessage(const Turn& turn, bool yours) {
    static const char* const asks[] = {"room", "card", "target", "next", "end"};
    json m{{"type", "turn"}, {"ask", asks[static_cast<int>(turn.ask)]}, {"yours", yours}};
    if (turn.ask == Ask::Next) m["next"] = turn.next;
    if (turn.character > 0) {
        m["character"] = turn.character;
        m["name"] = turn.name;
    }
    if (turn.choices > 0) m["choices"] = turn.choices;
    return Line(m);
}

std::string TablesMessage(const std::vector<TableSummary>& tables) {
    json list = json::array();
    for (const TableSummary& t : tables)
        list.push_back({{"id", t.id},
                        {"private", t.isPrivate},
                        {"time_limit", t.timeLimit},
                        {"players", t.players},
                        {"spectators", t.spectators},
                        {"free", t.free},
                        {"started", t.started}});
    return Line({{"type", "tables"}, {"tables", list}});
}

std::string TableMessage(const TableView& view) {
    json characters = json::array();
    for (std::size_t i = 0; i < view.characters.size(); ++i) {
        const CharacterEntry& c = view.characters[i];
        json entry{
            {"character", i + 1}, {"name", c.name}, {"yours", c.yours}, {"computer", c.player.empty()}};
        if (!c.player.empty()) entry["player"] = c.player;
        characters.push_back(entry);
    }
    json m{{"type", "table"},           {"id", view.id},
           {"private", view.isPrivate}, {"time_limit", view.timeLimit},
           {"creator", view.creator},   {"spectator", view.spectator},
           {"started", view.started},   {"spectators", view.spectators},
           {"characters", characters}};
    if (!view.event.empty()) m["event"] = view.event;
    return Line(m);
}

std::optional<std::string> GameMessage(std::string_view replayLine) {
    json event = json::parse(replayLine, nullptr, false);
    if (!event.is_object() || !event.contains("ev")) return std::nullopt;
    const std::string kind = event["ev"];
    if (kind != "say" && kind != "sound" && kind != "log" && kind != "beep") return std::nullopt;
    // The room sounds' files are the client's own: only which room's sound plays or stops matters.
    if (kind == "sound" && event["op"] != "play" && event["op"] != "stop") return std::nullopt;
    event.erase("ev");
    json m{{"type", kind}};
    m.update(event);
    return Line(m);
}

std::string ErrorMessage(Reason r) {
    return Line({{"type", "error"}, {"reason", ReasonName(r)}, {"text", ReasonText(r)}});
}

}  // namespace veldrisa::protocol
