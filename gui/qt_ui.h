// The core's Ui interface as Qt message boxes and file dialogs.
#pragma once

#include <QWidget>

#include "platform/ui.h"

namespace qx {

class QtUi final : public Ui {
  public:
    explicit QtUi(QWidget* parent) : parent_(parent) {}
    void SetTitle(const QString& title) { title_ = title; }

    void ShowMessage(const std::string& text) override;
    void ShowProblem(const std::string& text, Severity severity) override;
    Answer Ask(const std::string& text, Buttons buttons) override;
    std::optional<std::string> AskPassword() override;
    std::optional<std::string> ChooseOpenFile(const std::string& filter) override;
    std::optional<std::string> ChooseOpenFileIn(const std::string& filter,
                                                const std::string& folder) override;
    std::optional<std::string> ChooseSaveFile(const std::string& filter) override;

  private:
    QWidget* parent_;
    QString title_;
};

}  // namespace qx
