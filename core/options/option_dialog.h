// The radio option dialog (Frm_Option) without widgets: it opens on the
// options, keeps the 27 fields apart from what its lists show, applies the
// indication-mode and time-out dependencies, and stores the options on OK.
#pragma once

#include <array>
#include <string>

#include "app/document.h"
#include "app/list_control.h"
#include "codeplug/option_fields.h"
#include "codeplug/options.h"
#include "util/language_texts.h"

namespace qx {

class OptionDialog {
  public:
    // Opens on an option record (the empty text leaves the initial state).
    OptionDialog(const std::string& record, const LanguageTexts& lang);
    OptionDialog(const RadioOptions& options, const LanguageTexts& lang)
        : OptionDialog(OptionsRecord(options), lang) {}

    // The list of a list field, and the state of a check-box field.
    const ListControl& List(int field) const { return lists_.at(Index(field)); }
    bool Checked(int field) const { return checked_.at(Index(field)); }
    // The value the field will store.
    const std::string& Field(int field) const { return fields_.at(Index(field)); }
    // The control's name ("Combo_Indication", ..., "CheckModelLock") and label.
    static const char* ControlName(int field);
    const std::string& Label(int field) const { return labels_.at(Index(field)); }

    const std::string& title() const { return title_; }  // also the frame's caption
    const std::string& okText() const { return okText_; }
    const std::string& cancelText() const { return cancelText_; }

    // The user (or the dialog) selects an entry; the field and its dependants follow.
    void Select(int field, int index);
    void SetChecked(int field, bool checked);

    // "setup" and the 27 fields as they stand.
    std::string Record() const;
    // OK: stores the options in the document as one step.
    void Ok(Document& doc) const;

  private:
    static std::size_t Index(int field);
    void ApplyStoredValue(int field, const std::string& value);
    void SetInitialState();

    std::array<std::string, kOptionFieldCount + 1> fields_{};
    std::array<ListControl, kOptionFieldCount + 1> lists_{};
    std::array<bool, kOptionFieldCount + 1> checked_{};
    std::array<std::string, kOptionFieldCount + 1> labels_{};
    std::string title_;
    std::string okText_;
    std::string cancelText_;
};

}  // namespace qx
