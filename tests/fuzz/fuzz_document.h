// The document every fuzz input starts from: loaded once as the desktop app
// loads it, then copied, so one input cannot influence the next.
#pragma once

#include "app/channel_ops.h"
#include "app/document.h"
#include "app/session.h"
#include "silent_ui.h"
#include "util/language_texts.h"

namespace qx::fuzz {

inline constexpr FeatureFlags kAllFeatures{true, true, true, true};

inline const Document& StartDocument() {
    static const Document doc = [] {
        Document loaded;
        test::SilentUi ui;
        LoadMainWindow(loaded, LanguageTexts(QX_LANGUAGE_DIR, "english.ini"), kAllFeatures, ui);
        return loaded;
    }();
    return doc;
}

}  // namespace qx::fuzz
