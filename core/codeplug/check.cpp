#include "codeplug/check.h"

#include <map>
#include <ostream>
#include <string_view>

#include "codeplug/channel_record.h"
#include "codeplug/option_fields.h"
#include "codeplug/value_lists.h"
#include "util/numbers.h"
#include "util/text.h"

namespace qx {
namespace {

constexpr std::string_view kDialCharacters = "0123456789ABCD#*-";
constexpr std::size_t kDialEntryLength = 16;
constexpr std::string_view kUpperHexDigits = "0123456789ABCDEF";

ScaledDecimal AsDecimal(const Frequency& frequency) {
    return ScaledDecimal{frequency.Hz() * (ScaledDecimal::kScale / 1'000'000)};
}

// The first character of `text` that `allowed` refuses; empty when none is.
template <typename Allowed>
std::string FirstRefused(const std::string& text, Allowed allowed) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!allowed(text[i])) return std::string(Utf8CharacterAt(text, i));
    }
    return {};
}

bool IsUpperHex(char c) { return kUpperHexDigits.find(c) != std::string_view::npos; }

bool RowInUse(const Codeplug& codeplug, int row) {
    return row >= kCallRow || codeplug.Row(row).inUse;
}

class Checker {
  public:
    Checker(const Codeplug& codeplug, const ModelInfo* model) : c_(codeplug), model_(model) {}

    CheckProblems Run() {
        for (int row = 1; row <= kRowCount; ++row) CheckRow(row);
        CheckOptions();
        CheckAutoDialer();
        CheckFiveTone();
        return std::move(problems_);
    }

  private:
    CheckProblem& AddRowProblem(CheckSeverity severity, CheckKind kind, int row,
                                ChannelField field) {
        CheckProblem& p = problems_.emplace_back();
        p.severity = severity;
        p.kind = kind;
        p.area = CheckArea::Channel;
        p.row = row;
        p.field = field;
        return p;
    }
    CheckProblem& AddProblem(CheckSeverity severity, CheckKind kind, CheckArea area, int item) {
        CheckProblem& p = problems_.emplace_back();
        p.severity = severity;
        p.kind = kind;
        p.area = area;
        p.item = item;
        return p;
    }

    void CheckRow(int row) {
        const qx::Channel& ch = c_.Row(row);
        // Memory channels out of use are not written; a blank row writes the
        // model's defaults.
        if (ch.blank || (row <= kChannelRows && !ch.inUse)) return;
        CheckStorable(row, ch);
        if (!RowInUse(c_, row)) return;
        CheckBands(row, ch);
        CheckExact(row, ch);
        CheckName(row, ch);
        CheckSignal(row, ch);
        CheckPriority(row, ch);
        CheckTones(row, ch);
        CheckRepeats(row, ch);
        if (row == kPhRow) CheckScanLimits();
    }

    void CheckStorable(int row, const qx::Channel& ch) {
        if (!RecordHoldsRx(ch.rx)) {
            CheckProblem& p = AddRowProblem(CheckSeverity::Error, CheckKind::RxNotStorable, row,
                                            ChannelField::RxFrequency);
            p.text = ch.rx.ToString();
            p.high = RecordMhzText(kRecordRxLimitUnits - 1);
        }
        if (!RecordHoldsOffset(ch.rx, ch.tx)) {
            CheckProblem& p = AddRowProblem(CheckSeverity::Error, CheckKind::OffsetNotStorable, row,
                                            ChannelField::TxFrequency);
            p.text = RecordMhzText(RecordOffsetUnits(ch.rx, ch.tx));
            p.high = RecordMhzText(kRecordOffsetLimitUnits - 1);
        }
    }

    void CheckBands(int row, const qx::Channel& ch) {
        if (model_ == nullptr) return;
        const auto outside = [&](const Frequency& f, const Band& band, CheckKind kind,
                                 ChannelField field) {
            if (band.Contains(AsDecimal(f))) return;
            CheckProblem& p = AddRowProblem(CheckSeverity::Error, kind, row, field);
            p.text = f.ToString();
            p.low = BandLowText(band);
            p.high = BandHighText(band);
        };
        if (RecordHoldsRx(ch.rx))
            outside(ch.rx, model_->rx, CheckKind::RxOutOfBand, ChannelField::RxFrequency);
        outside(ch.tx, model_->tx, CheckKind::TxOutOfBand, ChannelField::TxFrequency);
    }

    // What a read would give back differs from what is written: digits below
    // 100 Hz, a Tx the radio puts on another point of the step grid. The
    // 8.33 kHz grid's own fifth decimal is how that radio keeps those points.
    void CheckExact(int row, const qx::Channel& ch) {
        if (!RecordHoldsRx(ch.rx)) return;
        const auto differs = [&](const Frequency& f, const Frequency& back, ChannelField field) {
            if (back.Hz() == f.Hz()) return;
            CheckProblem& p =
                AddRowProblem(CheckSeverity::Error, CheckKind::FrequencyNotExact, row, field);
            p.text = f.ToString();
            p.other = back.ToString();
        };
        const bool rxOnEighthGrid =
            ch.step == Step::k8_33 && ch.rx.RoundedTo(Step::k8_33).Hz() == ch.rx.Hz();
        if (!rxOnEighthGrid) differs(ch.rx, ReadBackRx(ch), ChannelField::RxFrequency);
        if (RecordHoldsOffset(ch.rx, ch.tx))
            differs(ch.tx, ReadBackTx(ch), ChannelField::TxFrequency);
    }

    void CheckName(int row, const qx::Channel& ch) {
        if (const std::string bad = FirstRefused(ch.name, IsNameChar); !bad.empty()) {
            CheckProblem& p = AddRowProblem(CheckSeverity::Error, CheckKind::NameCharacter, row,
                                            ChannelField::Name);
            p.text = ch.name;
            p.other = bad;
        }
        if (ch.name.size() > kChannelNameLength) {
            CheckProblem& p = AddRowProblem(CheckSeverity::Error, CheckKind::NameTooLong, row,
                                            ChannelField::Name);
            p.text = ch.name;
            p.number = static_cast<int>(kChannelNameLength);
        }
    }

    void CheckSignal(int row, const qx::Channel& ch) {
        const SignalKind kind = ch.signal.kind;
        if (kind == SignalKind::None) return;
        const auto outOfList = [&](const std::optional<std::uint8_t>& code, int limit,
                                   CheckKind problem) {
            if (limit < 0 || !code || *code <= limit) return;
            CheckProblem& p =
                AddRowProblem(CheckSeverity::Error, problem, row, ChannelField::OptionSignal);
            p.text = SignalKindText(kind);
            p.number = *code;
            p.low = "0";
            p.high = std::to_string(limit);
        };
        outOfList(ch.signal.code, SignalCodeLimit(kind), CheckKind::SignalCodeOutOfList);
        outOfList(ch.signal.subCode, SignalSubCodeLimit(kind), CheckKind::SignalSubCodeOutOfList);
        if (!ch.signal.code || (SignalSubCodeLimit(kind) >= 0 && !ch.signal.subCode)) {
            AddRowProblem(CheckSeverity::Warning, CheckKind::SignalCodeEmpty, row,
                          ChannelField::OptionSignal)
                .text = SignalKindText(kind);
        }
    }

    void CheckPriority(int row, const qx::Channel& ch) {
        if (ch.priority.IsOff() || RowInUse(c_, ch.priority.Row())) return;
        AddRowProblem(CheckSeverity::Error, CheckKind::PriorityNotInUse, row,
                      ChannelField::Priority)
            .otherRow = ch.priority.Row();
    }

    void CheckTones(int row, const qx::Channel& ch) {
        if (ch.txTone.IsOff() || !ch.rxTone.IsOff()) return;
        AddRowProblem(CheckSeverity::Warning, CheckKind::TxToneWithoutRxTone, row,
                      ChannelField::RxTone)
            .text = ch.txTone.Value();
    }

    // Names and Rx frequencies repeated among the memory channels.
    void CheckRepeats(int row, const qx::Channel& ch) {
        if (row > kChannelRows) return;
        if (!ch.name.empty()) {
            const auto [first, added] = names_.emplace(ch.name, row);
            if (!added) {
                CheckProblem& p = AddRowProblem(CheckSeverity::Warning, CheckKind::SameName, row,
                                                ChannelField::Name);
                p.text = ch.name;
                p.otherRow = first->second;
            }
        }
        const auto [first, added] = rxs_.emplace(ch.rx.Hz(), row);
        if (!added) {
            CheckProblem& p = AddRowProblem(CheckSeverity::Warning, CheckKind::SameRxFrequency, row,
                                            ChannelField::RxFrequency);
            p.text = ch.rx.ToString();
            p.otherRow = first->second;
        }
    }

    // Both scan limits in use with the lower one above the upper one.
    void CheckScanLimits() {
        const qx::Channel& pl = c_.Pl();
        const qx::Channel& ph = c_.Ph();
        if (!pl.inUse || pl.blank || !ph.inUse || ph.blank || pl.rx.Hz() <= ph.rx.Hz()) return;
        CheckProblem& p = AddRowProblem(CheckSeverity::Warning, CheckKind::ScanLimitsReversed,
                                        kPlRow, ChannelField::RxFrequency);
        p.text = pl.rx.ToString();
        p.other = ph.rx.ToString();
    }

    void CheckOptions() {
        const RadioOptions& o = c_.options;
        for (const int field : {kOptMrNumber, kOptSquelch}) {
            const int value = OptionIndex(o, field);
            const int highest = static_cast<int>(OptionValues(field).size()) - 1;
            if (value <= highest) continue;
            CheckProblem& p = AddProblem(CheckSeverity::Error, CheckKind::OptionOutOfList,
                                         CheckArea::Options, field);
            p.number = value;
            p.low = "0";
            p.high = std::to_string(highest);
        }
        if (o.startMode == StartMode::Mr && o.mrNumber < kChannelRows &&
            !c_.Memory(o.mrNumber).inUse) {
            AddProblem(CheckSeverity::Warning, CheckKind::StartChannelNotInUse, CheckArea::Options,
                       kOptMrNumber)
                .otherRow = o.mrNumber + 1;
        }
    }

    void CheckAutoDialer() {
        for (std::size_t i = 0; i < c_.autoDialer.entries.size(); ++i) {
            const std::string& entry = c_.autoDialer.entries[i];
            const int item = static_cast<int>(i);
            const std::string bad = FirstRefused(
                entry, [](char c) { return kDialCharacters.find(c) != std::string_view::npos; });
            if (!bad.empty()) {
                CheckProblem& p = AddProblem(CheckSeverity::Error, CheckKind::DialCharacter,
                                             CheckArea::AutoDialer, item);
                p.text = entry;
                p.other = bad;
            }
            if (entry.size() > kDialEntryLength) {
                CheckProblem& p = AddProblem(CheckSeverity::Error, CheckKind::DialTooLong,
                                             CheckArea::AutoDialer, item);
                p.text = entry;
                p.number = static_cast<int>(kDialEntryLength);
            }
        }
    }

    void CheckFiveTone() {
        const FiveToneSettings& f = c_.signalling.fiveTone;
        const auto code = [&](const FiveToneCode& record, int item) {
            const bool faithful = record.length <= FiveToneCode::kCodeWidth &&
                                  record.code.size() == record.length &&
                                  FirstRefused(record.code, IsUpperHex).empty();
            if (faithful) return;
            CheckProblem& p = AddProblem(CheckSeverity::Error, CheckKind::FiveToneCodeNotStorable,
                                         CheckArea::FiveTone, item);
            p.text = record.code;
            p.number = static_cast<int>(FiveToneCode::kCodeWidth);
        };
        for (std::size_t n = 0; n < f.codes.size(); ++n) code(f.codes[n], static_cast<int>(n));
        code(f.pttIdBegin, kCheckPttIdBegin);
        code(f.pttIdEnd, kCheckPttIdEnd);
        const std::size_t stored =
            std::min<std::size_t>(f.selfIdLength, FiveToneSettings::kSelfIdWidth);
        if (f.selfId.size() != stored || !FirstRefused(f.selfId, IsUpperHex).empty()) {
            CheckProblem& p = AddProblem(CheckSeverity::Error, CheckKind::FiveToneCodeNotStorable,
                                         CheckArea::FiveTone, kCheckSelfId);
            p.text = f.selfId;
            p.number = static_cast<int>(FiveToneSettings::kSelfIdWidth);
        }

        // An emergency call goes out on the channel it is bound to.
        for (std::size_t n = 0; n < f.codes.size(); ++n) {
            if (!f.codes[n].code.starts_with("E2")) continue;
            for (int row = 1; row <= kChannelRows; ++row) {
                const qx::Channel& ch = c_.Row(row);
                if (ch.inUse || ch.signal.kind != SignalKind::FiveTone || ch.signal.code != n)
                    continue;
                AddProblem(CheckSeverity::Error, CheckKind::EmergencyCallNotInUse,
                           CheckArea::FiveTone, static_cast<int>(n))
                    .otherRow = row;
            }
        }
    }

    const Codeplug& c_;
    const ModelInfo* model_;
    CheckProblems problems_;
    std::map<std::string, int> names_;
    std::map<std::int64_t, int> rxs_;
};

}  // namespace

CheckProblems CheckCodeplug(const Codeplug& codeplug, const ModelInfo* model) {
    return Checker(codeplug, model).Run();
}

CheckProblems CheckCodeplug(const Codeplug& codeplug) {
    return CheckCodeplug(codeplug, ModelAt(codeplug.model));
}

bool HasErrors(const CheckProblems& problems) {
    for (const CheckProblem& p : problems) {
        if (p.IsError()) return true;
    }
    return false;
}

std::string BandLowText(const Band& band) { return band.lowText; }

std::string BandHighText(const Band& band) {
    const std::int64_t scale = ScaledDecimal::kScale;
    const std::int64_t whole = (band.high.units + scale - 1) / scale;
    return std::to_string(whole);
}

void PrintTo(const CheckProblem& p, std::ostream* os) {
    *os << (p.IsError() ? "error " : "warning ") << static_cast<int>(p.kind) << " area "
        << static_cast<int>(p.area) << " row " << p.row << " field " << static_cast<int>(p.field)
        << " item " << p.item << " {" << p.text << "|" << p.other << "|" << p.low << "|" << p.high
        << "|" << p.number << "|" << p.otherRow << "}";
}

}  // namespace qx
