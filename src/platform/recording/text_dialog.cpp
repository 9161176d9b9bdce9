// The scripted text-input dialog.
#include "platform/recording/text_dialog.hpp"

#include <stdexcept>

namespace veldrisa {

std::string ScriptedDialog::ask(const std::string& title, const std::string& prompt,
                                const std::string& initial) {
    recorder_.record(Event::dialog(title, prompt, initial));
    if (source) return source();
    // Running out of answers is a mistake in the script, not a cancelled dialog.
    if (answers.empty()) throw std::logic_error("the dialog opened but no answer was scripted");
    std::string answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

}  // namespace veldrisa
