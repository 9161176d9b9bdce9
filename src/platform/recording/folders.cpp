// The executable's folders.
#include "platform/recording/folders.hpp"

#include <filesystem>

namespace veldrisa {

std::string ExecutableFolders::programFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

void ExecutableFolders::setCurrentDirectory(const std::string& path) {
    recorder_.record(Event(EventKind::DirectoryChanged, path));
    std::filesystem::current_path(path);
}

}  // namespace veldrisa
