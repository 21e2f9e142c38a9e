// Channel-document work the user waits for: rounding every frequency of a
// table, and clearing a document (New, model change).
#include <benchmark/benchmark.h>

#include "app/channel_ops.h"
#include "codeplug/step_rounding.h"
#include "silent_ui.h"
#include "util/language_texts.h"

namespace {

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
    qx::test::SilentUi ui;
    qx::LoadMainWindow(doc, qx::LanguageTexts(QX_LANGUAGE_DIR, "english.ini"), {}, ui);
    for (auto _ : state) {
        qx::ClearAll(doc);
        benchmark::DoNotOptimize(doc.codeplug());
    }
}
BENCHMARK(ClearDocument);

}  // namespace
