// The Beeper port: the system's own beep.
#pragma once

#include "ports/platform.hpp"

namespace veldrisa {

class MessageBeeper : public Beeper {
public:
    void beep() override;
};

}  // namespace veldrisa
