// The narrow interface through which the core shows messages and asks questions.
// The desktop app answers with message boxes, the CLI with flags, tests with scripts.
#pragma once

#include <optional>
#include <string>

namespace qx {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };
// How grave a message is: a failure (Error) or a risk the user should know of (Warning).
enum class Severity { Warning, Error };

class Ui {
  public:
    virtual ~Ui() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    // A message marked with its severity (a message box shows the icon);
    // without an override it is shown as any other message.
    virtual void ShowProblem(const std::string& text, Severity /*severity*/) { ShowMessage(text); }
    void ShowError(const std::string& text) { ShowProblem(text, Severity::Error); }
    void ShowWarning(const std::string& text) { ShowProblem(text, Severity::Warning); }
    virtual Answer Ask(const std::string& text, Buttons buttons) = 0;
    // nullopt when the user cancels the prompt.
    virtual std::optional<std::string> AskPassword() = 0;
    // The chosen path, or nullopt when the user cancels. `filter` is a
    // "Description|*.ext" pair list as the file dialogs show it.
    virtual std::optional<std::string> ChooseOpenFile(const std::string& filter) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const std::string& filter) = 0;
    // The same, starting in `folder` where the dialog can.
    virtual std::optional<std::string> ChooseOpenFileIn(const std::string& filter,
                                                        const std::string& /*folder*/) {
        return ChooseOpenFile(filter);
    }
    // The save dialog proposing `proposed`: a path (its folder and name), or a
    // bare name for the folder the dialogs last used.
    virtual std::optional<std::string> ChooseSaveFileAs(const std::string& filter,
                                                        const std::string& /*proposed*/) {
        return ChooseSaveFile(filter);
    }
};

// Shows nothing and declines every question: for work whose messages no one
// reads (benchmarks, fuzzing, a simulated radio's first memory).
class SilentUi final : public Ui {
  public:
    void ShowMessage(const std::string&) override {}
    Answer Ask(const std::string&, Buttons) override { return Answer::No; }
    std::optional<std::string> AskPassword() override { return std::nullopt; }
    std::optional<std::string> ChooseOpenFile(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseSaveFile(const std::string&) override { return std::nullopt; }
};

}  // namespace qx
