#include "signalling/auto_dialer.h"

#include <algorithm>

#include "util/text.h"

namespace qx {
namespace {

bool IsTypedAutoDialChar(char c) { return IsAutoDialChar(c) || (c >= 'a' && c <= 'd'); }

}  // namespace

bool IsAutoDialChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'D') || c == '*' || c == '#' || c == '-';
}

AutoDialerDialog::AutoDialerDialog(const AutoDialer& dialer, const LanguageTexts& lang, Ui& ui)
    : ui_(ui),
      title_(lang.LanguageText("OTHERS", "70001")),
      prompt_(lang.LanguageText("OTHERS", "70004")),
      invalidMessage_(lang.LanguageText("OTHERS", "70011")),
      tooLongMessage_(lang.LanguageText("OTHERS", "70012")),
      okText_(lang.LanguageText("OPTION", "60024")),
      cancelText_(lang.LanguageText("OPTION", "60025")) {
    for (int i = 0; i < kAutoDialEntries; ++i) {
        ChangeEntry(i, dialer.entries[static_cast<std::size_t>(i)]);
    }
}

const std::string& AutoDialerDialog::ChangeEntry(int index, const std::string& text) {
    std::string& entry = entries_.at(static_cast<std::size_t>(index));
    entry = text;
    // Every invalid character goes, not just the last one, so a pasted text
    // cannot leave a character the radio cannot dial.
    if (!std::all_of(entry.begin(), entry.end(), IsTypedAutoDialChar)) {
        ui_.ShowMessage(invalidMessage_);
        std::erase_if(entry, [](char c) { return !IsTypedAutoDialChar(c); });
    }
    if (entry.size() > kAutoDialEntryLength) {
        ui_.ShowMessage(tooLongMessage_);
        entry.resize(kAutoDialEntryLength);
    }
    entry = ToUpperAscii(entry);  // only "a".."d" are left to upper-case
    return entry;
}

void AutoDialerDialog::Ok(Document& doc) const {
    doc.Change(StepLabel{StepKind::AutoDialer},
               [this](Codeplug& codeplug) { codeplug.autoDialer.entries = entries_; });
}

}  // namespace qx
