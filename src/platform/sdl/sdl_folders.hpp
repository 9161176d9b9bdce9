// The Folders port: the executable's folder and the current directory.
#pragma once

#include "ports/platform.hpp"

namespace veldrisa {

class SdlFolders : public Folders {
public:
    // The folder of the running executable, ending with its separator; "" when unknown.
    std::string programFolder() override;
    // A folder that cannot be entered is reported on stderr; the game goes on. "" is ignored.
    void setCurrentDirectory(const std::string& path) override;
};

}  // namespace veldrisa
