#include "signalling/special_call.h"

#include <stdexcept>

#include "app/grid_columns.h"
#include "codeplug/defaults.h"
#include "util/text.h"

namespace qx {
namespace {

std::optional<char> IdKey(char32_t key) {
    if (key == 'a') return 'A';
    if ((key >= '0' && key <= '9') || key == 'A') return static_cast<char>(key);
    return std::nullopt;
}

std::optional<char> MessageKey(char32_t key) {
    if (key >= 'a' && key <= 'z') return static_cast<char>(key - 'a' + 'A');
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return static_cast<char>(key);
    return std::nullopt;
}

// Each character as its code in two upper-case hex digits.
std::string HexOf(const std::string& text) {
    constexpr const char* kHex = "0123456789ABCDEF";
    std::string hex;
    for (const char c : text) {
        const auto value = static_cast<unsigned char>(c);
        hex += kHex[value >> 4];
        hex += kHex[value & 0x0F];
    }
    return hex;
}

}  // namespace

SpecialCallDialog::SpecialCallDialog(FiveToneDialog& fiveTone, SpecialCallSlot slot,
                                     const LanguageTexts& lang)
    : fiveTone_(fiveTone),
      slot_(slot),
      title_(lang.LanguageText("OPTION", "60062")),
      tooShortMessage_(lang.LanguageText("MSG", "900C")) {
    fiveTone_.CloseCellEditor();
    row_.entries = NumberList(0, 99);
    channel_.entries = NumberList(0, 99);
    channel_.Select(0);
    const FiveToneTexts& texts = fiveTone_.texts();
    kind_.entries = {texts.messageCall, texts.emergencyCall, texts.allCall, "ANI",
                     texts.stun,        texts.revive};

    switch (slot_) {
        case SpecialCallSlot::TableRow:
            rowLabel_ = lang.LanguageText("OPTION", "60063");
            row_.Select(fiveTone_.highlightedRow() - 1);
            break;
        case SpecialCallSlot::PttIdBegin:
        case SpecialCallSlot::PttIdEnd:
            rowLabel_ = slot_ == SpecialCallSlot::PttIdBegin ? "PTTID BEGIN" : "PTTID END";
            row_.Select(0);
            row_.enabled = false;
            break;
    }
    SelectKind(kCallMessage);
}

std::size_t SpecialCallDialog::IdSlot(int which) {
    if (which < 0 || which > 1) throw std::out_of_range("ID field " + std::to_string(which));
    return static_cast<std::size_t>(which);
}

void SpecialCallDialog::SelectKind(int index) {
    if (!kind_.Select(index)) return;
    switch (index) {
        case kCallMessage:
            frame_ = SpecialFrame::A;
            break;
        case kCallEmergency:
            frame_ = SpecialFrame::B;
            break;
        case kCallAll:
            frame_ = SpecialFrame::None;
            break;
        default:
            frame_ = SpecialFrame::C;
            frameCCaption_ = kind_.text;
            break;
    }
}

std::string SpecialCallDialog::TypeIdKey(const std::string& current, char32_t key) {
    return TypeKey(current, key, IdKey, kSpecialIdLength);
}

void SpecialCallDialog::SetIdText(int which, const std::string& text) {
    id_.at(IdSlot(which)) = FilterText(text, IdKey, kSpecialIdLength);
}

void SpecialCallDialog::LeaveId(int which, Ui& ui) const { IdTooShort(IdText(which), ui); }

std::string SpecialCallDialog::TypeMessageKey(const std::string& current, char32_t key) {
    return TypeKey(current, key, MessageKey, kSpecialMessageLength);
}

void SpecialCallDialog::SetMessageText(const std::string& text) {
    message_ = FilterText(text, MessageKey, kSpecialMessageLength);
}

bool SpecialCallDialog::IdTooShort(const std::string& id, Ui& ui) const {
    if (id.size() >= kSpecialIdLength) return false;
    ui.ShowMessage(tooShortMessage_);
    return true;
}

void SpecialCallDialog::BindChannel(int codeRow) {
    Document& doc = fiveTone_.document();
    const int channelRow = channel_.selected + 1;
    // An unused channel keeps the binding for when it is switched on; a
    // blank one takes its defaults then, so it gets them now.
    doc.Change(StepLabel{StepKind::ChannelEdit, channelRow, ChannelField::OptionSignal},
               [&](Codeplug& codeplug) {
                   qx::Channel& channel = codeplug.Row(channelRow);
                   if (channel.blank) {
                       const bool inUse = channel.inUse;
                       PutInUse(channel, codeplug.model);
                       channel.inUse = inUse;
                   }
                   channel.signal.kind = SignalKind::FiveTone;
                   channel.signal.code = static_cast<std::uint8_t>(codeRow);
               });
}

bool SpecialCallDialog::Ok(Ui& ui) {
    const int kind = kind_.selected;
    const bool tableRow = slot_ == SpecialCallSlot::TableRow;
    const int codeRow = row_.selected;
    const int gridRow = codeRow + 1;
    const std::string& id = kind == kCallMessage ? id_[0] : id_[1];
    const std::string self = tableRow ? kSelfIdPlaceholder : fiveTone_.SelfIdText();
    if (kind != kCallEmergency && kind != kCallAll && IdTooShort(id, ui)) return false;

    std::string code;
    std::string codeColumn;
    switch (kind) {
        case kCallMessage:
            code = Make5ToneE("E1" + id + "E") + HexOf(message_);
            codeColumn = id + " " + fiveTone_.texts().message + message_;
            break;
        case kCallEmergency:
            code = "E2" + self;
            if (tableRow) BindChannel(codeRow);
            break;
        case kCallAll:
            code = "E0AEAEA";
            break;
        case kCallAni:
            code = "E3" + id + "E" + self;
            codeColumn = id;
            break;
        default:
            code = (kind == kCallStun ? "E4" : "E5") + id;
            codeColumn = id;
            break;
    }

    if (tableRow) {
        FiveToneCode& record = fiveTone_.Code(codeRow);
        record.code = Make5ToneE(code).substr(0, FiveToneCode::kCodeWidth);
        record.length = static_cast<std::uint8_t>(record.code.size());
        fiveTone_.SetCell(gridRow, 1, kind_.text);
        fiveTone_.SetCell(gridRow, 2, codeColumn);
    } else {
        fiveTone_.SetPttCodeText(static_cast<int>(slot_) - 1, Make5ToneE(code));
    }
    return true;
}

}  // namespace qx
