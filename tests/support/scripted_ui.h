// A Ui for tests: records every message and question, answers from a script.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui.h"

namespace qx::test {

class ScriptedUi final : public Ui {
  public:
    std::vector<std::string> messages;   // ShowMessage texts, in order
    std::vector<std::string> questions;  // Ask texts, in order
    std::deque<Answer> answers;          // consumed by Ask; Cancel when exhausted
    std::deque<std::optional<std::string>> passwords;
    std::deque<std::optional<std::string>> files;

    // Messages shown as a warning or an error: in `messages` too, and here
    // with their severity.
    std::vector<std::pair<Severity, std::string>> problems;

    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowProblem(const std::string& text, Severity severity) override {
        messages.push_back(text);
        problems.emplace_back(severity, text);
    }
    Answer Ask(const std::string& text, Buttons buttons) override;
    std::optional<std::string> AskPassword() override { return Next(passwords); }
    std::optional<std::string> ChooseOpenFile(const std::string&) override { return Next(files); }
    std::optional<std::string> ChooseSaveFile(const std::string&) override { return Next(files); }
    std::optional<std::string> ChooseSaveFileAs(const std::string&,
                                                const std::string& proposed) override {
        proposals.push_back(proposed);
        return Next(files);
    }

    std::vector<Buttons> buttonsAsked;
    std::vector<std::string> proposals;  // what each save dialog proposed

  private:
    static std::optional<std::string> Next(std::deque<std::optional<std::string>>& queue);
};

}  // namespace qx::test
