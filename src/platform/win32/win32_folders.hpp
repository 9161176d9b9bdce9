// The Folders port on Windows: the executable's folder and the current directory.
#pragma once

#include "ports/platform.hpp"

namespace veldrisa {

class Win32Folders : public Folders {
public:
    // The folder of the running executable (GetModuleFileNameW), in UTF-8, ending with its separator;
    // empty when the system cannot tell.
    std::string programFolder() override;
    // A folder that cannot be entered is a warning (Warn); the game goes on.
    void setCurrentDirectory(const std::string& path) override;
};

}  // namespace veldrisa
