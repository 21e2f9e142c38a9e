#include "app/check_texts.h"

#include <initializer_list>

#include "app/undo_texts.h"
#include "codeplug/option_fields.h"
#include "util/text.h"

namespace qx {
namespace {

const char* KindKey(CheckKind kind) {
    switch (kind) {
        case CheckKind::RxOutOfBand:
            return "RxOutOfBand";
        case CheckKind::TxOutOfBand:
            return "TxOutOfBand";
        case CheckKind::RxNotStorable:
            return "RxNotStorable";
        case CheckKind::OffsetNotStorable:
            return "OffsetNotStorable";
        case CheckKind::FrequencyNotExact:
            return "FrequencyNotExact";
        case CheckKind::NameCharacter:
            return "NameCharacter";
        case CheckKind::NameTooLong:
            return "NameTooLong";
        case CheckKind::SignalCodeOutOfList:
            return "SignalCodeOutOfList";
        case CheckKind::SignalSubCodeOutOfList:
            return "SignalSubCodeOutOfList";
        case CheckKind::PriorityNotInUse:
            return "PriorityNotInUse";
        case CheckKind::EmergencyCallNotInUse:
            return "EmergencyCallNotInUse";
        case CheckKind::DialCharacter:
            return "DialCharacter";
        case CheckKind::DialTooLong:
            return "DialTooLong";
        case CheckKind::FiveToneCodeNotStorable:
            return "FiveToneCodeNotStorable";
        case CheckKind::OptionOutOfList:
            return "OptionOutOfList";
        case CheckKind::SameName:
            return "SameName";
        case CheckKind::SameRxFrequency:
            return "SameRxFrequency";
        case CheckKind::TxToneWithoutRxTone:
            return "TxToneWithoutRxTone";
        case CheckKind::SignalCodeEmpty:
            return "SignalCodeEmpty";
        case CheckKind::ScanLimitsReversed:
            return "ScanLimitsReversed";
        case CheckKind::StartChannelNotInUse:
            return "StartChannelNotInUse";
    }
    return "";
}

const char* ChannelFieldKey(ChannelField field) {
    switch (field) {
        case ChannelField::Name:
            return "FieldName";
        case ChannelField::RxFrequency:
            return "FieldRxFrequency";
        case ChannelField::TxFrequency:
            return "FieldTxFrequency";
        case ChannelField::RxTone:
            return "FieldRxTone";
        case ChannelField::Priority:
            return "FieldPriority";
        default:
            return "FieldOptionSignal";
    }
}

std::string Where(const CheckProblem& p, const LanguageTexts& texts) {
    switch (p.area) {
        case CheckArea::Channel:
            return RowWords(p.row, texts);
        case CheckArea::Options:
            return texts.LanguageText("Check", "Options");
        case CheckArea::AutoDialer:
            return texts.LanguageText("Check", "AutoDialer");
        case CheckArea::FiveTone:
            return texts.LanguageText("Check", "FiveTone");
    }
    return {};
}

std::string Field(const CheckProblem& p, const LanguageTexts& texts) {
    const auto text = [&](const char* key) { return texts.LanguageText("Check", key); };
    switch (p.area) {
        case CheckArea::Channel:
            return text(ChannelFieldKey(p.field));
        case CheckArea::Options:
            return text(p.item == kOptSquelch ? "FieldSquelch" : "FieldMrNumber");
        case CheckArea::AutoDialer:
            return FillPlaceholders(text("DialMemory"), {std::to_string(p.item + 1)});
        case CheckArea::FiveTone:
            switch (p.item) {
                case kCheckPttIdBegin:
                    return text("PttIdBegin");
                case kCheckPttIdEnd:
                    return text("PttIdEnd");
                case kCheckSelfId:
                    return text("SelfId");
                default:
                    return FillPlaceholders(text("FiveToneCode"), {std::to_string(p.item)});
            }
    }
    return {};
}

std::string Message(const CheckProblem& p, const LanguageTexts& texts) {
    const std::string pattern = texts.LanguageText("Check", KindKey(p.kind));
    const std::string number = std::to_string(p.number);
    const std::string otherRow = p.otherRow != 0 ? RowWords(p.otherRow, texts) : std::string();
    switch (p.kind) {
        case CheckKind::RxOutOfBand:
        case CheckKind::TxOutOfBand:
            return FillPlaceholders(pattern, {p.text, p.low, p.high});
        case CheckKind::RxNotStorable:
        case CheckKind::OffsetNotStorable:
            return FillPlaceholders(pattern, {p.text, p.high});
        case CheckKind::FrequencyNotExact:
        case CheckKind::NameCharacter:
        case CheckKind::DialCharacter:
        case CheckKind::ScanLimitsReversed:
            return FillPlaceholders(pattern, {p.text, p.other});
        case CheckKind::NameTooLong:
        case CheckKind::DialTooLong:
        case CheckKind::FiveToneCodeNotStorable:
            return FillPlaceholders(pattern, {p.text, number});
        case CheckKind::SignalCodeOutOfList:
        case CheckKind::SignalSubCodeOutOfList:
            return FillPlaceholders(pattern, {p.text, number, p.low, p.high});
        case CheckKind::OptionOutOfList:
            return FillPlaceholders(pattern, {number, p.low, p.high});
        case CheckKind::PriorityNotInUse:
        case CheckKind::EmergencyCallNotInUse:
        case CheckKind::StartChannelNotInUse:
            return FillPlaceholders(pattern, {otherRow});
        case CheckKind::SameName:
        case CheckKind::SameRxFrequency:
            return FillPlaceholders(pattern, {p.text, otherRow});
        case CheckKind::TxToneWithoutRxTone:
        case CheckKind::SignalCodeEmpty:
            return FillPlaceholders(pattern, {p.text});
    }
    return pattern;
}

}  // namespace

CheckProblemWords DescribeCheckProblem(const CheckProblem& problem, const LanguageTexts& texts) {
    return {texts.LanguageText("Check", problem.IsError() ? "Error" : "Warning"),
            Where(problem, texts), Field(problem, texts), Message(problem, texts)};
}

std::string CheckProblemLine(const CheckProblem& problem, const LanguageTexts& texts) {
    const CheckProblemWords words = DescribeCheckProblem(problem, texts);
    return FillPlaceholders(texts.LanguageText("Check", "Line"),
                            {words.where, words.field, words.message});
}

std::string CheckReportLine(const CheckProblem& problem, const LanguageTexts& texts) {
    const std::string line = CheckProblemLine(problem, texts);
    if (problem.IsError()) return line;
    return FillPlaceholders(texts.LanguageText("Check", "WarningLine"), {line});
}

}  // namespace qx
