// The journal's SQLite file: one row per table, one row per journal line.
#include "server/journal_store.hpp"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace veldrisa {
namespace {

// A prepared statement, finalized however its use ends.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) Fail();
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int i, const std::string& text) {
        if (sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) !=
            SQLITE_OK)
            Fail();
        return *this;
    }
    Statement& bind(int i, std::int64_t n) {
        if (sqlite3_bind_int64(stmt_, i, n) != SQLITE_OK) Fail();
        return *this;
    }
    // True while a row is there to read.
    bool step() {
        const int rc = sqlite3_step(stmt_);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) Fail();
        return rc == SQLITE_ROW;
    }
    void reset() {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
    std::string text(int column) const {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        return t ? std::string(t, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
                 : std::string();
    }
    std::int64_t number(int column) const { return sqlite3_column_int64(stmt_, column); }

private:
    [[noreturn]] void Fail() const {
        throw StoreError(std::string("la base de datos de las partidas ha fallado: ") + sqlite3_errmsg(db_));
    }
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Seats as "2;5,9;7", names as the ten of them one per line: a cleaned name holds no line break.
std::string SeatsText(const std::vector<Seat>& seats) {
    std::string text;
    for (const Seat& seat : seats) {
        if (!text.empty()) text += ';';
        text += SeatText(seat);
    }
    return text;
}

std::vector<Seat> SeatsFrom(const std::string& text) {
    std::vector<Seat> seats;
    for (std::size_t start = 0; start <= text.size() && !text.empty();) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        const auto seat = ParseSeat(std::string_view(text).substr(start, end - start));
        if (!seat) throw StoreError("la base de datos de las partidas tiene una mesa dañada");
        seats.push_back(*seat);
        start = end + 1;
    }
    return seats;
}

std::string NamesText(const std::array<std::string, 11>& names) {
    std::string text;
    for (int c = 1; c <= 10; ++c) text += names[c] + "\n";
    return text;
}

std::array<std::string, 11> NamesFrom(const std::string& text) {
    std::array<std::string, 11> names;
    std::size_t start = 0;
    for (int c = 1; c <= 10; ++c) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            throw StoreError("la base de datos de las partidas tiene una mesa dañada");
        names[c] = text.substr(start, end - start);
        start = end + 1;
    }
    return names;
}

// "token name" a line per seat: a token is hexadecimal and a cleaned name holds no line break.
std::string HoldersText(const std::vector<SeatHolder>& holders) {
    std::string text;
    for (const SeatHolder& h : holders) text += h.token + " " + h.name + "\n";
    return text;
}

std::vector<SeatHolder> HoldersFrom(const std::string& text) {
    std::vector<SeatHolder> holders;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start), blank = text.find(' ', start);
        if (end == std::string::npos || blank > end)
            throw StoreError("la base de datos de las partidas tiene una mesa dañada");
        holders.push_back({text.substr(start, blank - start), text.substr(blank + 1, end - blank - 1)});
        start = end + 1;
    }
    return holders;
}

}  // namespace

JournalStore::JournalStore(const std::string& path) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : "sin memoria";
        sqlite3_close(db_);
        throw StoreError("no se puede abrir la base de datos de las partidas " + path + ": " + why);
    }
    // WAL: a line committed is on disk even if the process is killed the next moment.
    run("PRAGMA journal_mode=WAL");
    run("PRAGMA synchronous=NORMAL");
    run("CREATE TABLE IF NOT EXISTS mesas (id TEXT PRIMARY KEY, semilla INTEGER NOT NULL, "
        "asientos TEXT NOT NULL, nombres TEXT NOT NULL, jugadores TEXT NOT NULL, limite INTEGER NOT NULL)");
    run("CREATE TABLE IF NOT EXISTS diario (mesa TEXT NOT NULL, n INTEGER NOT NULL, linea TEXT NOT NULL, "
        "PRIMARY KEY (mesa, n))");
}

JournalStore::~JournalStore() { sqlite3_close(db_); }

void JournalStore::run(const char* sql) {
    Statement s(db_, sql);
    while (s.step()) {
    }
}

void JournalStore::addTable(const std::string& id, const TableSetup& setup,
                            const std::vector<SeatHolder>& holders, int timeLimit) {
    Statement(
        db_,
        "INSERT INTO mesas (id, semilla, asientos, nombres, jugadores, limite) VALUES (?, ?, ?, ?, ?, ?)")
        .bind(1, id)
        .bind(2, static_cast<std::int64_t>(setup.seed))
        .bind(3, SeatsText(setup.seats))
        .bind(4, NamesText(setup.names))
        .bind(5, HoldersText(holders))
        .bind(6, timeLimit)
        .step();
}

std::size_t JournalStore::stored(const std::string& id) {
    Statement count(db_, "SELECT COUNT(*) FROM diario WHERE mesa = ?");
    count.bind(1, id).step();
    return static_cast<std::size_t>(count.number(0));
}

void JournalStore::keep(const std::string& id, const std::vector<std::string>& journal) {
    std::size_t n = stored(id);
    if (n >= journal.size()) return;
    run("BEGIN");
    try {
        Statement insert(db_, "INSERT INTO diario (mesa, n, linea) VALUES (?, ?, ?)");
        for (; n < journal.size(); ++n) {
            insert.bind(1, id).bind(2, static_cast<std::int64_t>(n)).bind(3, journal[n]).step();
            insert.reset();
        }
        run("COMMIT");
    } catch (const StoreError&) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void JournalStore::removeTable(const std::string& id) {
    Statement(db_, "DELETE FROM diario WHERE mesa = ?").bind(1, id).step();
    Statement(db_, "DELETE FROM mesas WHERE id = ?").bind(1, id).step();
}

std::vector<StoredTable> JournalStore::tables() {
    std::vector<StoredTable> out;
    Statement rows(db_, "SELECT id, semilla, asientos, nombres, jugadores, limite FROM mesas ORDER BY id");
    while (rows.step()) {
        StoredTable t;
        t.id = rows.text(0);
        t.setup.seed = static_cast<std::uint32_t>(rows.number(1));
        t.setup.seats = SeatsFrom(rows.text(2));
        t.setup.names = NamesFrom(rows.text(3));
        t.holders = HoldersFrom(rows.text(4));
        t.timeLimit = static_cast<int>(rows.number(5));
        if (t.holders.size() != t.setup.seats.size())
            throw StoreError("la base de datos de las partidas tiene una mesa dañada");
        out.push_back(std::move(t));
    }
    Statement lines(db_, "SELECT linea FROM diario WHERE mesa = ? ORDER BY n");
    for (StoredTable& t : out) {
        lines.bind(1, t.id);
        while (lines.step()) t.journal.push_back(lines.text(0));
        lines.reset();
    }
    return out;
}

}  // namespace veldrisa
