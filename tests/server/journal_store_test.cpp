// The journal's SQLite file: tables kept line by line, restored after a restart or a SIGKILL.
#include "server/journal_store.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

namespace veldrisa {
namespace {

// Two seats: characters 1 and 4, and 8; one renamed with marks a journal must keep.
TableSetup DosAsientos(std::uint32_t seed) {
    TableSetup setup;
    setup.seed = seed;
    setup.seats = {*ParseSeat("1,4"), *ParseSeat("8")};
    setup.names[4] = "Ñandú; el \"raro\"";
    return setup;
}

std::vector<SeatHolder> Holders() {
    return {{std::string(32, 'a'), "Ana"}, {std::string(32, 'b'), "Bea la de la esquina"}};
}

// The keys of two impatient players, the same ones for the same random generator.
void Press(OnlineTable& table, std::mt19937& rng) {
    static const int Keys[] = {Tecla::Espacio, Tecla::Digito(1), Tecla::Digito(2), Tecla::Digito(3),
                               Tecla::C};
    table.press(rng() % 2, {Keys[rng() % std::size(Keys)], 0});
}

struct Folder {
    Folder() : path(std::filesystem::temp_directory_path() / ("veldrisa-store-" + std::to_string(getpid()))) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string file() const { return (path / "partidas.sqlite").string(); }
    std::filesystem::path path;
};

TEST(JournalStore, TablesComeBackWithTheirSetupsAndJournals) {
    Folder folder;
    OnlineTable a(DosAsientos(5)), b(DosAsientos(6));
    std::mt19937 rng(1);
    {
        JournalStore store(folder.file());
        store.addTable("t1", DosAsientos(5), Holders(), 30);
        store.addTable("t2", DosAsientos(6), Holders(), 0);
        store.addTable("t3", DosAsientos(7), Holders(), 0);
        for (int i = 0; i < 200; ++i) {
            Press(i % 2 ? a : b, rng);
            store.keep("t1", a.journal());
            store.keep("t2", b.journal());
        }
        store.removeTable("t3");
    }
    JournalStore reopened(folder.file());
    const auto tables = reopened.tables();
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0].id, "t1");
    EXPECT_EQ(tables[0].setup.seats, DosAsientos(5).seats);
    EXPECT_EQ(tables[0].setup.names, DosAsientos(5).names);
    EXPECT_EQ(tables[0].holders, Holders());
    EXPECT_EQ(tables[0].timeLimit, 30);
    EXPECT_EQ(tables[0].journal, a.journal());
    EXPECT_EQ(tables[1].journal, b.journal());
    OnlineTable restored(tables[0].setup, tables[0].journal);
    EXPECT_EQ(restored.asked(), a.asked());
}

TEST(JournalStore, AServerKilledMidGameLosesNoLineItHadTaken) {
    Folder folder;
    int done[2];
    ASSERT_EQ(pipe(done), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        JournalStore store(folder.file());
        store.addTable("t1", DosAsientos(9), Holders(), 0);
        OnlineTable table(DosAsientos(9));
        std::mt19937 rng(9);
        for (int i = 0; i < 400; ++i) {
            Press(table, rng);
            store.keep("t1", table.journal());
        }
        const char byte = 1;
        (void)!write(done[1], &byte, 1);
        pause();
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(done[0], &byte, 1), 1);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    OnlineTable uninterrupted(DosAsientos(9));
    std::mt19937 rng(9);
    for (int i = 0; i < 400; ++i) Press(uninterrupted, rng);
    JournalStore store(folder.file());
    const auto tables = store.tables();
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].journal, uninterrupted.journal());
    OnlineTable restored(tables[0].setup, tables[0].journal);
    EXPECT_EQ(restored.asked(), uninterrupted.asked());
}

TEST(JournalStore, AFileThatCannotBeOpenedIsSaidInPlainWords) {
    Folder folder;
    try {
        JournalStore store((folder.path / "no" / "such" / "folder.sqlite").string());
        FAIL() << "opened";
    } catch (const StoreError& e) {
        EXPECT_NE(std::string(e.what()).find("no se puede abrir la base de datos de las partidas"),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace veldrisa
