#include "scripted_ui.h"

namespace qx::test {

Answer ScriptedUi::Ask(const std::string& text, Buttons buttons) {
    questions.push_back(text);
    buttonsAsked.push_back(buttons);
    if (answers.empty()) return Answer::Cancel;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<std::string> ScriptedUi::Next(std::deque<std::optional<std::string>>& queue) {
    if (queue.empty()) return std::nullopt;
    auto value = queue.front();
    queue.pop_front();
    return value;
}

}  // namespace qx::test
