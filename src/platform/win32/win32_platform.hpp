// The Windows platform: a Win32 window, SAPI 5's voices, MCI's room sounds.
#pragma once

#include <memory>

#include "app/local_platform.hpp"

namespace veldrisa {

// Needs COM started on this thread. None when the game cannot start: the reason is then already
// told (standard error and a message box).
std::unique_ptr<LocalPlatform> MakeWin32Platform();

}  // namespace veldrisa
