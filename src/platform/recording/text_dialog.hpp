// A text-input dialog whose answers are given in advance or fetched on demand.
#pragma once

#include <deque>
#include <functional>
#include <string>

#include "platform/recording/event.hpp"
#include "ports/platform.hpp"

namespace veldrisa {

class ScriptedDialog : public TextDialog {
public:
    explicit ScriptedDialog(Recorder& recorder) : recorder_(recorder) {}

    // Records the opening, then answers with source() when it is set, else with the
    // next queued answer. An empty answer is what a cancelled dialog returns.
    std::string ask(const std::string& title, const std::string& prompt,
                    const std::string& initial) override;

    std::deque<std::string> answers;
    std::function<std::string()> source;

private:
    Recorder& recorder_;
};

}  // namespace veldrisa
