// The executable's folders.
#include "platform/recording/folders.hpp"

#include <filesystem>

namespace veldrisa {

std::string ExecutableFolders::programFolder() {
    // The executable stays where it is; asking the system once spares a call every game.
    if (programFolder_.empty()) programFolder_ = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    return programFolder_;
}

void ExecutableFolders::setCurrentDirectory(const std::string& path) {
    recorder_.record(Event(EventKind::DirectoryChanged, path));
    std::filesystem::current_path(path);
}

}  // namespace veldrisa
