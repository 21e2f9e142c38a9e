// Documents as the main window has them after its load, for tests.
#pragma once

#include "app/channel_ops.h"
#include "app/document.h"
#include "app/session.h"
#include "scripted_ui.h"
#include "util/language_texts.h"

namespace qx::test {

inline LanguageTexts EnglishTexts() { return LanguageTexts(QX_LANGUAGE_DIR, "english.ini"); }

inline constexpr FeatureFlags kAllFeatures{true, true, true, false};

// Loaded with the English texts and all features, then switched to `model`
// (the document is clean, so the switch clears it without a question).
inline Document LoadedDocument(int model = 3, FeatureFlags flags = kAllFeatures) {
    Document doc;
    ScriptedUi ui;
    LoadMainWindow(doc, EnglishTexts(), flags, ui);
    if (model != doc.model()) ChangeModel(doc, model, ui, [] { return true; });
    return doc;
}

// A 5-tone code record holding `code` as the 5-tone dialog stores it.
inline FiveToneCode FiveToneCodeOf(const std::string& code) {
    FiveToneCode record;
    record.code = code;
    record.length = static_cast<std::uint8_t>(code.size());
    return record;
}

}  // namespace qx::test
