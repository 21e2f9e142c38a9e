// A Ui that shows nothing and declines every question, for benchmarks and
// fuzz targets where messages do not matter. Header-only, no test framework.
#pragma once

#include "platform/ui.h"

namespace qx::test {

class SilentUi final : public Ui {
  public:
    void ShowMessage(const std::string&) override {}
    Answer Ask(const std::string&, Buttons) override { return Answer::No; }
    std::optional<std::string> AskPassword() override { return std::nullopt; }
    std::optional<std::string> ChooseOpenFile(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseSaveFile(const std::string&) override { return std::nullopt; }
};

}  // namespace qx::test
