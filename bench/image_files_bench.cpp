// Whole-document conversions the user waits for: a full memory image encoded
// and decoded (the codec's share of a radio read or write), and a project
// saved and opened again.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/language_texts.h"
#include "channels/channel_ops.h"
#include "files/project_file.h"
#include "image/image_codec.h"
#include "silent_ui.h"

namespace {

constexpr qx::FeatureFlags kAllFeatures{true, true, true, false};

// Every channel active, so every record is encoded, decoded, saved and read.
qx::Document FullDocument(qx::Ui& ui) {
    qx::Document doc;
    qx::LoadMainWindow(doc, qx::LanguageTexts(QX_LANGUAGE_DIR, "english.ini"), kAllFeatures, ui);
    for (int row = 2; row <= qx::kChannelRows; ++row) {
        doc.Cell(row, qx::kColStatus) = doc.texts.active;
        qx::ReadBuffer(doc, row);
        doc.Cell(row, qx::kColName) = "CH" + std::to_string(row - 1);
    }
    return doc;
}

void EncodeAndDecodeImage(benchmark::State& state) {
    qx::test::SilentUi ui;
    qx::Document doc = FullDocument(ui);
    qx::Document decoded = doc;
    qx::FeatureFlags features = kAllFeatures;
    for (auto _ : state) {
        const auto image = qx::EncodeImage(doc, kAllFeatures, ui);
        if (!image) {
            state.SkipWithError("the document did not encode");
            break;
        }
        const std::string error = qx::DecodeImage(*image, decoded, features, ui);
        benchmark::DoNotOptimize(error);
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
