// The auto-dialer record (strAutoDial: "Ad|" and nine entries, each followed
// by "|") and the logic of its dialog (Frm_AutoDialer).
#pragma once

#include <array>
#include <string>

#include "app/document.h"
#include "app/language_texts.h"
#include "platform/ui.h"

namespace qx {

inline constexpr int kAutoDialEntries = 9;
inline constexpr std::size_t kAutoDialEntryLength = 16;

// True for the characters an entry may hold ("0"-"9", "A"-"D", "*", "#", "-").
bool IsAutoDialChar(char c);

// Entries 1..9 of a record (index 0..8); missing fields of a short record are empty.
std::array<std::string, kAutoDialEntries> AutoDialEntries(const std::string& record);
// "Ad|" and each entry's last 16 characters followed by "|".
std::string AutoDialRecord(const std::array<std::string, kAutoDialEntries>& entries);

class AutoDialerDialog {
  public:
    // Opens on `strAutoDial`; entries go through the same checks as typing.
    AutoDialerDialog(const std::string& strAutoDial, const LanguageTexts& lang, Ui& ui);

    const std::string& Entry(int index) const {
        return entries_.at(static_cast<std::size_t>(index));
    }
    // Every change of an entry's text: invalid characters are removed and
    // reported, the text is cut to 16 characters (reported), "a".."d" become
    // upper case. Returns the text the entry then holds (the caret goes to its end).
    const std::string& ChangeEntry(int index, const std::string& text);

    // OK: builds the record anew; a changed record marks the document modified.
    void Ok(Document& doc) const;

    const std::string& title() const { return title_; }  // also the frame's caption
    const std::string& prompt() const { return prompt_; }
    static constexpr const char* kHint = "0~9,A,B,C,D,*,#,- ";
    const std::string& okText() const { return okText_; }
    const std::string& cancelText() const { return cancelText_; }

  private:
    Ui& ui_;
    std::array<std::string, kAutoDialEntries> entries_{};
    std::string title_;
    std::string prompt_;
    std::string invalidMessage_;
    std::string tooLongMessage_;
    std::string okText_;
    std::string cancelText_;
};

}  // namespace qx
