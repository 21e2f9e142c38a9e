// A Ui that nobody watches: messages are collected for the caller to report
// and questions are declined. The password prompt is answered with
// `password` the first time and cancelled after that, so a wrong password
// never loops. The CLI runs its commands with it, and a write into several
// radios gives each radio one.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace qx {

class CollectingUi final : public Ui {
  public:
    std::vector<std::string> messages;
    std::optional<std::string> password;
    int passwordAsks = 0;

    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    // Every message is reported the same way, so a warning or an error
    // differs only in what the caller makes of it.
    void ShowProblem(const std::string& text, Severity) override { messages.push_back(text); }
    Answer Ask(const std::string&, Buttons buttons) override {
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
    std::optional<std::string> AskPassword() override {
        return ++passwordAsks == 1 ? password : std::nullopt;
    }
    std::optional<std::string> ChooseOpenFile(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseSaveFile(const std::string&) override { return std::nullopt; }

    // The collected messages on one line, or `fallback` when there are none.
    std::string Report(const std::string& fallback) const;
};

}  // namespace qx
