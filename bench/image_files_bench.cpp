// Whole-document conversions the user waits for: a full memory image encoded
// and decoded (the codec's share of a radio read or write), and a project
// saved and opened again.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/channel_ops.h"
#include "app/project_file.h"
#include "codeplug/defaults.h"
#include "image/memory_image.h"
#include "silent_ui.h"
#include "util/language_texts.h"

namespace {

constexpr qx::FeatureFlags kAllFeatures{true, true, true, false};

// Every channel in use, so every record is encoded, decoded, saved and read.
qx::Document FullDocument(qx::Ui& ui) {
    qx::Document doc;
    qx::LoadMainWindow(doc, qx::LanguageTexts(QX_LANGUAGE_DIR, "english.ini"), kAllFeatures, ui);
    doc.Change(qx::StepLabel{}, [](qx::Codeplug& codeplug) {
        for (int row = 2; row <= qx::kChannelRows; ++row) {
            qx::PutInUse(codeplug.Row(row), codeplug.model);
            codeplug.Row(row).name = "CH" + std::to_string(row - 1);
        }
    });
    return doc;
}

void EncodeAndDecodeImage(benchmark::State& state) {
    qx::test::SilentUi ui;
    const qx::Document doc = FullDocument(ui);
    for (auto _ : state) {
        const qx::ImageEncoding encoding = qx::EncodeImage(doc.codeplug(), kAllFeatures);
        if (!encoding.problems.empty()) {
            state.SkipWithError("the document did not encode");
            break;
        }
        benchmark::DoNotOptimize(qx::DecodeImage(encoding.image, doc.model()));
    }
}
BENCHMARK(EncodeAndDecodeImage)->Unit(benchmark::kMillisecond);

void SaveAndOpenProject(benchmark::State& state) {
    qx::test::SilentUi ui;
    qx::Document doc = FullDocument(ui);
    const auto folder = std::filesystem::temp_directory_path() / "qx_bench_project";
    std::filesystem::create_directories(folder);
    const auto path = folder / "bench.qx";
    for (auto _ : state) {
        if (!qx::SaveProject(doc, path).empty()) {
            state.SkipWithError("the project could not be saved");
            break;
        }
        benchmark::DoNotOptimize(qx::OpenProject(doc, path, ui));
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(SaveAndOpenProject)->Unit(benchmark::kMillisecond);

}  // namespace
