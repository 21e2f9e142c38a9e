#include "app/document.h"

namespace qx {

DocumentTexts DocumentTexts::From(const LanguageTexts& lang) {
    DocumentTexts t;
    t.active = lang.LanguageText("Channel", "50015");
    t.inactive = lang.LanguageText("Channel", "50016");
    t.wide = lang.LanguageText("Channel", "50019");
    t.narrow = lang.LanguageText("Channel", "50020");
    t.scanSkipOff = lang.LanguageText("Channel", "50023");
    t.scanSkipOn = lang.LanguageText("Channel", "50024");
    static constexpr const char* kHeadingKeys[kColOptSignal + 1] = {
        "50000", "50001", "50002", "50003", "50004", "50005", "50006", "50007", "50008",
        "50009", "50010", "50011", "50012", "50013", "50014", "50021", "50022"};
    for (int c = 0; c <= kColOptSignal; ++c) {
        t.headings[static_cast<std::size_t>(c)] = lang.LanguageText("Channel", kHeadingKeys[c]);
    }
    static constexpr const char* kMessageKeys[9] = {"9001", "9002", "9003", "9004", "9005",
                                                    "9006", "9007", "9008", "9009"};
    for (std::size_t i = 0; i < t.messages.size(); ++i) {
        t.messages[i] = lang.LanguageText("MSG", kMessageKeys[i]);
    }
    t.printQuestion = lang.LanguageText("MSG", "900B");
    t.statusPanel1 = lang.LanguageText("OTHERS", "70007");
    t.statusPanel2 = lang.LanguageText("OTHERS", "70008");
    return t;
}

}  // namespace qx
