// The DTMF memories dialog (FrmDTMF) without widgets: eight short codes of
// "0"-"9" and "A", edited straight in the live signalling record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/document.h"
#include "util/language_texts.h"

namespace qx {

inline constexpr std::size_t kDtmfMemoryCount = 8;
inline constexpr std::size_t kDtmfMemoryMaxLength = 3;

struct DtmfCaptions {
    std::string window;  // "DTMF"
    std::string frame;   // Frame1, OPTION 60089
    std::string ok;      // CommandOK, OPTION 60024
    std::string cancel;  // CommandCANCEL, OPTION 60025
};

// A memory as its entry shows it: upper-case hex without leading zeros, "0"
// for 0. A negative value shows its 16-bit pattern ("FFFF" for -1), so that
// reading the text back gives the same value.
std::string DtmfMemoryText(std::int16_t value);

// The 16-bit value of an entry text: "" gives 0, up to four hex digits give
// their bit pattern; anything else gives nullopt.
std::optional<std::int16_t> DtmfMemoryValue(const std::string& text);

// A key typed into an entry (Text1(i)): "0"-"9" and "A" ("a" is upper-cased),
// at most three characters; Ctrl+C/V/X, Enter and non-ASCII are discarded.
std::string TypeDtmfKey(const std::string& current, char32_t key);

class DtmfDialog {
  public:
    // Opening: the entries show the document's DTMF memories.
    DtmfDialog(const Document& doc, const LanguageTexts& lang);

    const DtmfCaptions& Captions() const { return captions_; }
    const std::array<std::string, kDtmfMemoryCount>& Entries() const { return entries_; }
    const std::string& Entry(std::size_t index) const { return entries_.at(index); }

    // The view reports the text of Text1(index) as it stands; it is kept
    // unfiltered so that a shown value the keys could not produce (such as
    // "FFFF") is stored unchanged. An index past the last entry is ignored.
    void SetEntryText(std::size_t index, const std::string& text);

    // OK: every entry is stored in its memory. An entry that is not a valid
    // code leaves its memory as it was rather than guessing a value. A
    // change is one undo step. Cancel is simply not calling this.
    void Ok(Document& doc) const;

  private:
    DtmfCaptions captions_;
    std::array<std::string, kDtmfMemoryCount> entries_;
};

}  // namespace qx
