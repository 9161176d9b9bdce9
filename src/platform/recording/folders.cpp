// The executable's folders.
#include "platform/recording/folders.hpp"

#include <filesystem>

#include "platform/recording/process.hpp"

namespace veldrisa {

std::string ExecutableFolders::programFolder() {
    // The executable stays where it is; asking the system once spares a call every game.
    if (programFolder_.empty()) programFolder_ = Utf8FromPath(ExecutableFile().parent_path());
    return programFolder_;
}

void ExecutableFolders::setCurrentDirectory(const std::string& path) {
    recorder_.record(Event(EventKind::DirectoryChanged, path));
    std::filesystem::current_path(PathFromUtf8(path));
}

}  // namespace veldrisa
