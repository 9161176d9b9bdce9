// Every table's lobby outcome and journal, kept line by line in one SQLite file beside the server,
// so that a server killed at any moment restarts with every game where it stood.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "server/table.hpp"

struct sqlite3;

namespace veldrisa {

// The file cannot be opened, read or written; what says so in plain words.
struct StoreError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Who sits at a started table, seat by seat: the secret a player comes back with, and its name.
struct SeatHolder {
    std::string token;
    std::string name;
    bool operator==(const SeatHolder&) const = default;
};

struct StoredTable {
    std::string id;
    TableSetup setup;
    std::vector<SeatHolder> holders;  // one per seat of the setup
    int timeLimit = 0;
    std::vector<std::string> journal;
};

class JournalStore {
public:
    // Opens the file, creating it and its tables when missing.
    explicit JournalStore(const std::string& path);
    ~JournalStore();
    JournalStore(const JournalStore&) = delete;
    JournalStore& operator=(const JournalStore&) = delete;

    void addTable(const std::string& id, const TableSetup& setup, const std::vector<SeatHolder>& holders,
                  int timeLimit);
    // Writes the journal's lines that are not stored yet; each is on disk when this returns.
    void keep(const std::string& id, const std::vector<std::string>& journal);
    // A table that is over: its journal is no longer needed.
    void removeTable(const std::string& id);
    // Every table kept, with its journal in order.
    std::vector<StoredTable> tables();

private:
    void run(const char* sql);
    std::size_t stored(const std::string& id);

    sqlite3* db_ = nullptr;
};

}  // namespace veldrisa
