// Parsing of the replay tool's input lines.
#include "replay/input.hpp"

#include <charconv>

#include "replay/quoted.hpp"

namespace veldrisa {
namespace {

constexpr std::string_view Blanks = " \t";

std::string_view Trim(std::string_view s) {
    auto first = s.find_first_not_of(Blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(Blanks) - first + 1);
}

// A plain decimal number with no sign and nothing around it.
std::optional<int> Decimal(std::string_view digits, int max) {
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    int n = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec != std::errc{} || end != digits.data() + digits.size() || n > max) return std::nullopt;
    return n;
}

struct Named {
    std::string_view name;
    int code;
};

constexpr Named KeyNames[] = {
    {"ENTER", Tecla::Enter},   {"ESC", Tecla::Escape}, {"SPACE", Tecla::Espacio},  {"CTRL", Tecla::Control},
    {"SHIFT", Tecla::Shift},   {"ALT", Tecla::Alt},    {"LEFT", Tecla::Izquierda}, {"UP", Tecla::Arriba},
    {"RIGHT", Tecla::Derecha}, {"DOWN", Tecla::Abajo},
};
// Names only a FIELD line takes: the field's editing keys.
constexpr Named FieldKeyNames[] = {
    {"BACKSPACE", Tecla::Retroceso}, {"DELETE", Tecla::Suprimir},
    {"HOME", Tecla::Inicio},         {"END", Tecla::Fin},
    {"TAB", Tecla::Tabulador},       {"INSERT", Tecla::Insertar},
};

template <std::size_t N>
std::optional<int> Find(const Named (&names)[N], std::string_view name) {
    for (const auto& n : names)
        if (n.name == name) return n.code;
    return std::nullopt;
}

std::optional<int> KeyCode(std::string_view name) {
    if (auto code = Find(KeyNames, name)) return code;

    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return Tecla::Digito(name[0] - '0');
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return Tecla::A + (name[0] - 'A');
    if (name.size() == 3 && name.starts_with("KP") && name[2] >= '0' && name[2] <= '9')
        return Tecla::DigitoNumerico(name[2] - '0');
    if (name.starts_with("F") && name.size() >= 2 && name[1] != '0') {
        auto n = Decimal(name.substr(1), 12);
        if (n && *n >= 1) return Tecla::Funcion(*n);
    }
    if (name.starts_with("VK")) return Decimal(name.substr(2), 255);
    return std::nullopt;
}

InputLine Invalid(std::string problem) {
    InputLine out;
    out.kind = InputLine::Kind::Invalid;
    out.text = std::move(problem);
    return out;
}

// "COMPUTER 7": the character named after the command.
InputLine HandOver(InputLine::Kind kind, std::string_view number) {
    const auto character = Decimal(number, 10);
    if (!character || *character < 1)
        return Invalid("a character from 1 to 10 expected, not " + Quoted(number));
    InputLine out;
    out.kind = kind;
    out.character = *character;
    return out;
}

// "@3,7 SPACE", or "@3,7 C 7" for the seat's own information about one of its characters.
InputLine SeatKey(std::string_view line) {
    const std::size_t blank = line.find_first_of(Blanks);
    const auto seat = ParseSeat(line.substr(1, blank == std::string_view::npos ? line.npos : blank - 1));
    if (!seat || seat->none()) return Invalid("a seat is a list of distinct characters 1..10, as @3,7");
    const std::string_view rest =
        blank == std::string_view::npos ? std::string_view{} : Trim(line.substr(blank));
    const std::size_t space = rest.find_first_of(Blanks);
    InputLine out;
    if (space != std::string_view::npos) {
        const auto character = Decimal(Trim(rest.substr(space)), 10);
        if (!character || *character < 1 || !(*seat)[static_cast<std::size_t>(*character)])
            return Invalid("C or P may name only one of the seat's own characters");
        out.character = *character;
    }
    auto key = ParseKey(rest.substr(0, space), out.text);
    if (!key) return Invalid(out.text);
    if (out.character && *key != KeyEvent{Tecla::C, 0} && *key != KeyEvent{Tecla::P, 0})
        return Invalid("only C and P may name a character");
    out.kind = InputLine::Kind::Key;
    out.key = *key;
    out.seat = seat;
    return out;
}

}  // namespace

static std::optional<KeyEvent> ParseKeyWith(std::string_view name, std::string& problem, bool fieldNames) {
    struct Modifier {
        std::string_view prefix;
        int bit;
    };
    static constexpr Modifier Modifiers[] = {{"SHIFT+", ModShift}, {"CTRL+", ModControl}, {"ALT+", ModAlt}};

    KeyEvent key;
    std::string_view rest = name;
    for (bool found = true; found;) {
        found = false;
        for (const auto& m : Modifiers) {
            if (!rest.starts_with(m.prefix)) continue;
            if (key.mask & m.bit) {
                problem = "modifier " + std::string(m.prefix) + " given twice in " + Quoted(name);
                return std::nullopt;
            }
            key.mask |= m.bit;
            rest.remove_prefix(m.prefix.size());
            found = true;
        }
    }
    auto code = KeyCode(rest);
    if (!code && fieldNames) code = Find(FieldKeyNames, rest);
    if (!code) {
        problem = "unknown key name " + Quoted(name);
        return std::nullopt;
    }
    key.code = *code;
    // The platform reports Control as held while Control itself goes down.
    if (key.code == Tecla::Control) key.mask |= ModControl;
    return key;
}

std::optional<KeyEvent> ParseKey(std::string_view name, std::string& problem) {
    return ParseKeyWith(name, problem, false);
}

InputLine ParseLine(std::string_view line) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    InputLine out;
    // The answer is taken as it stands: blanks typed into a name are part of it.
    if (line.starts_with("TEXT ")) {
        out.kind = InputLine::Kind::Text;
        out.text = line.substr(5);
        return out;
    }
    if (line.starts_with("TYPE ")) {
        out.kind = InputLine::Kind::Type;
        out.text = line.substr(5);
        return out;
    }
    auto trimmed = Trim(line);
    if (trimmed.empty() || trimmed.starts_with('#')) return out;
    if (trimmed.starts_with("FIELD ")) {
        if (auto key = ParseKeyWith(Trim(trimmed.substr(6)), out.text, true)) {
            out.kind = InputLine::Kind::FieldKey;
            out.key = *key;
        } else {
            out.kind = InputLine::Kind::Invalid;
        }
        return out;
    }
    if (trimmed == "CANCEL") {
        out.kind = InputLine::Kind::Cancel;
    } else if (trimmed == "STATE") {
        out.kind = InputLine::Kind::State;
    } else if (trimmed == "TIMEOUT") {
        out.kind = InputLine::Kind::TimeOut;
    } else if (trimmed.starts_with("COMPUTER ")) {
        out = HandOver(InputLine::Kind::Computer, trimmed.substr(9));
    } else if (trimmed.starts_with("PLAYER ")) {
        out = HandOver(InputLine::Kind::Player, trimmed.substr(7));
    } else if (trimmed.starts_with('@')) {
        out = SeatKey(trimmed);
    } else if (trimmed == "TEXT" || trimmed.starts_with("TEXT ")) {
        out.kind = InputLine::Kind::Invalid;
        out.text = "TEXT must start the line and be followed by one space and the answer";
    } else if (auto key = ParseKey(trimmed, out.text)) {
        out.kind = InputLine::Kind::Key;
        out.key = *key;
    } else {
        out.kind = InputLine::Kind::Invalid;
    }
    return out;
}

}  // namespace veldrisa
