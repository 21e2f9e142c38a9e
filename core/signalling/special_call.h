// The special-call dialog (FrmSpecial) without widgets: composes a special
// 5-tone code ("E0".."E5") into a row of the 5-tone table or a PTT ID code of
// the open 5-tone dialog. An emergency call in a table row also binds a channel.
#pragma once

#include <array>
#include <string>

#include "app/list_control.h"
#include "platform/ui.h"
#include "signalling/five_tone_dialog.h"
#include "util/language_texts.h"

namespace qx {

// What the dialog edits; the 5-tone dialog's three "Special" buttons.
enum class SpecialCallSlot { TableRow = 0, PttIdBegin = 1, PttIdEnd = 2 };

// The six kinds in the order of the kind list.
enum SpecialCallType : int {
    kCallMessage = 0,    // "E1" + ID + "E" + the message in hex
    kCallEmergency = 1,  // "E2" + own ID
    kCallAll = 2,        // "E0AEAEA"
    kCallAni = 3,        // "E3" + ID + "E" + own ID
    kCallStun = 4,       // "E4" + ID
    kCallRevive = 5,     // "E5" + ID
};

inline constexpr std::size_t kSpecialIdLength = 5;
inline constexpr std::size_t kSpecialMessageLength = 7;
// Stands for the own ID in a table row until the 5-tone dialog saves.
inline constexpr const char* kSelfIdPlaceholder = "SelfID";

// The frames of the inputs: A (ID and message), B (channel), C (ID).
enum class SpecialFrame { None, A, B, C };

class SpecialCallDialog {
  public:
    // Opens over `fiveTone` on its highlighted row; a pending cell edit there
    // is committed first.
    SpecialCallDialog(FiveToneDialog& fiveTone, SpecialCallSlot slot, const LanguageTexts& lang);

    const std::string& title() const { return title_; }
    const std::string& rowLabel() const { return rowLabel_; }  // Label1(0)
    const ListControl& Row() const { return row_; }            // Combo1(0)
    const ListControl& Kind() const { return kind_; }          // Combo1(1)
    const ListControl& Channel() const { return channel_; }    // Combo2
    SpecialFrame VisibleFrame() const { return frame_; }
    const std::string& frameCCaption() const { return frameCCaption_; }

    void SelectRow(int index) { row_.Select(index); }
    void SelectKind(int index);
    void SelectChannel(int index) { channel_.Select(index); }

    // Text1(0) (frame A) and Text1(1) (frame C): "0"-"9" and "A" ("a" upper-cased).
    const std::string& IdText(int which) const { return id_.at(IdSlot(which)); }
    static std::string TypeIdKey(const std::string& current, char32_t key);
    void SetIdText(int which, const std::string& text);
    // Leaving an ID field with fewer than five characters says so; the text stays.
    void LeaveId(int which, Ui& ui) const;
    // Text2: letters and digits, upper-cased, at most seven.
    const std::string& MessageText() const { return message_; }
    static std::string TypeMessageKey(const std::string& current, char32_t key);
    void SetMessageText(const std::string& text);

    // OK: composes the code; false (the dialog stays open) when the ID is too short.
    bool Ok(Ui& ui);

  private:
    static std::size_t IdSlot(int which);
    bool IdTooShort(const std::string& id, Ui& ui) const;
    void BindChannel(int codeRow);

    FiveToneDialog& fiveTone_;
    SpecialCallSlot slot_;
    std::string title_;
    std::string rowLabel_;
    std::string tooShortMessage_;
    ListControl row_;
    ListControl kind_;
    ListControl channel_;
    SpecialFrame frame_ = SpecialFrame::None;
    std::string frameCCaption_;
    std::array<std::string, 2> id_{"12345", "12345"};
    std::string message_;
};

}  // namespace qx
