// The core's Ui interface as Qt message boxes and file dialogs.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "password_dialog.h"
#include "platform/ui.h"

namespace qx {

class QtUi final : public Ui {
  public:
    explicit QtUi(QWidget* parent) : parent_(parent) {}
    void SetTitle(const QString& title) { title_ = title; }
    void SetPasswordTexts(const PasswordTexts& texts) { passwordTexts_ = texts; }
    // The file dialogs start in `folder`; each file chosen in one (not in a
    // dialog given its own folder) makes its folder the next start, and
    // `chosen` is told it.
    void RememberFolders(const std::string& folder,
                         std::function<void(const std::string&)> chosen) {
        folder_ = folder;
        folderChosen_ = std::move(chosen);
    }

    void ShowMessage(const std::string& text) override;
    void ShowProblem(const std::string& text, Severity severity) override;
    Answer Ask(const std::string& text, Buttons buttons) override;
    std::optional<std::string> AskPassword() override;
    std::optional<std::string> ChooseOpenFile(const std::string& filter) override;
    std::optional<std::string> ChooseOpenFileIn(const std::string& filter,
                                                const std::string& folder) override;
    std::optional<std::string> ChooseSaveFile(const std::string& filter) override;
    std::optional<std::string> ChooseSaveFileAs(const std::string& filter,
                                                const std::string& proposed) override;

  private:
    // The folder last chosen in, while it exists; else the documents folder.
    QString StartFolder() const;
    std::optional<std::string> Chosen(const QString& path);

    QWidget* parent_;
    QString title_;
    PasswordTexts passwordTexts_;
    std::string folder_;
    std::function<void(const std::string&)> folderChosen_;
};

}  // namespace qx
