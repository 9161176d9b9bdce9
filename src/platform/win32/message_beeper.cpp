// The beep that refuses a key, as the player's sound scheme plays it.
#include "platform/win32/message_beeper.hpp"

#include <windows.h>

namespace veldrisa {

void MessageBeeper::beep() { MessageBeep(MB_OK); }

}  // namespace veldrisa
