// The folder of the running executable, and the current directory.
#pragma once

#include <string>

#include "platform/recording/event.hpp"
#include "ports/platform.hpp"

namespace veldrisa {

class ExecutableFolders : public Folders {
public:
    explicit ExecutableFolders(Recorder& recorder) : recorder_(recorder) {}

    // No trailing separator, except for the root folder "/".
    std::string programFolder() override;
    void setCurrentDirectory(const std::string& path) override;

private:
    Recorder& recorder_;
    std::string programFolder_;
};

}  // namespace veldrisa
