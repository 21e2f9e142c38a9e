// The logic of the auto-dialer dialog (Frm_AutoDialer) over the nine
// auto-dialer entries.
#pragma once

#include <array>
#include <string>

#include "app/document.h"
#include "platform/ui.h"
#include "util/language_texts.h"

namespace qx {

inline constexpr int kAutoDialEntries = 9;
inline constexpr std::size_t kAutoDialEntryLength = 16;

// True for the characters an entry may hold ("0"-"9", "A"-"D", "*", "#", "-").
bool IsAutoDialChar(char c);

class AutoDialerDialog {
  public:
    // Opens on the document's entries; they go through the same checks as typing.
    AutoDialerDialog(const AutoDialer& dialer, const LanguageTexts& lang, Ui& ui);

    const std::string& Entry(int index) const {
        return entries_.at(static_cast<std::size_t>(index));
    }
    // Every change of an entry's text: invalid characters are removed and
    // reported, the text is cut to 16 characters (reported), "a".."d" become
    // upper case. Returns the text the entry then holds (the caret goes to its end).
    const std::string& ChangeEntry(int index, const std::string& text);

    // OK: stores the entries in the document as one step.
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
