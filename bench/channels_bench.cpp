// Channel-document work the user waits for: rounding every frequency of a
// table, and clearing a document (New, model change).
#include <benchmark/benchmark.h>

#include "app/language_texts.h"
#include "channels/channel_ops.h"
#include "channels/frequency.h"

namespace {

class NoUi final : public qx::Ui {
  public:
    void ShowMessage(const std::string&) override {}
    qx::Answer Ask(const std::string&, qx::Buttons) override { return qx::Answer::No; }
    std::optional<std::string> AskPassword() override { return std::nullopt; }
    std::optional<std::string> ChooseOpenFile(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseSaveFile(const std::string&) override { return std::nullopt; }
};

void RoundAllChannelFrequencies(benchmark::State& state) {
    for (auto _ : state) {
        for (int i = 0; i < 208; ++i) {
            benchmark::DoNotOptimize(qx::AdjustRxFreqByStep("145.9987", i % 2 ? "8.33" : "12.5"));
        }
    }
}
BENCHMARK(RoundAllChannelFrequencies);

void ClearDocument(benchmark::State& state) {
    qx::Document doc;
    NoUi ui;
    qx::LoadMainWindow(doc, qx::LanguageTexts(QX_LANGUAGE_DIR, "english.ini"), {}, ui);
    for (auto _ : state) {
        qx::ClearAll(doc);
        benchmark::DoNotOptimize(doc.grid);
    }
}
BENCHMARK(ClearDocument);

}  // namespace
