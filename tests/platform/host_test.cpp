// The clock's seed and the program's folders.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <thread>

#include "platform/shared/local_clock.hpp"
#include "platform/sdl/sdl_folders.hpp"

namespace veldrisa {
namespace {

namespace fs = std::filesystem;

TEST(LocalClock, SeedIsTheTimeOfDayInMicroseconds) {
    LocalClock clock;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::uint64_t seconds = local.tm_hour * 3600u + local.tm_min * 60u + local.tm_sec;
    std::uint32_t first = clock.seed();
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    std::uint32_t second = clock.seed();
    EXPECT_NE(first, second) << "games started moments apart get different seeds";
    auto expected = static_cast<std::uint32_t>(seconds * 1000000);
    // Within two seconds of the reading above, allowing for the 32-bit wrap.
    EXPECT_LT(static_cast<std::uint32_t>(first - expected), 2000000u);
}

TEST(SdlFolders, TheProgramFolderHoldsTheExecutable) {
    SdlFolders folders;
    std::string folder = folders.programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/') << "the game adds no second separator";
    EXPECT_TRUE(fs::exists(fs::path(folder) / "platform_tests"));
}

TEST(SdlFolders, ChangesTheCurrentDirectoryAndSurvivesAMissingOne) {
    SdlFolders folders;
    auto previous = fs::current_path();
    auto target = fs::temp_directory_path();
    folders.setCurrentDirectory(target.string());
    EXPECT_EQ(fs::current_path(), fs::canonical(target));
    ::testing::internal::CaptureStderr();
    folders.setCurrentDirectory("/no/such/folder");
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("/no/such/folder"), std::string::npos);
    EXPECT_EQ(fs::current_path(), fs::canonical(target));
    fs::current_path(previous);
}

}  // namespace
}  // namespace veldrisa
