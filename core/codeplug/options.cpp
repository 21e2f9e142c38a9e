#include "codeplug/options.h"

#include <ostream>
#include <vector>

#include "codeplug/option_fields.h"
#include "util/text.h"

namespace qx {
namespace {

constexpr int kRecordPieces = kOptionFieldCount + 1;
constexpr int kAutoDialerPieces = kAutoDialerEntries + 2;

template <typename Options>
auto& Permission(Options& o, int field) {
    switch (field) {
        case kOptScanStart:
            return o.scanStart;
        case kOptPowerChange:
            return o.powerChange;
        case kOptKeyLockChange:
            return o.keyLockChange;
        case kOptMoniKey:
            return o.moniKey;
        case kOptCtcssDcsChange:
            return o.ctcssDcsChange;
        default:
            return o.tbstOutput;
    }
}

bool IsPermission(int field) {
    return field >= kFirstPermissionField && field <= kLastPermissionField;
}
bool IsNumber(int field) { return field == kOptMrNumber || field == kOptSquelch; }
bool MayBeEmpty(int field) { return IsPermission(field) || field == kOptTimeoutPenalty; }

template <typename Enum>
int Index(Enum value) {
    return static_cast<int>(value);
}

// Stores `index` into an enum or byte field.
template <typename Field>
void Store(Field& field, int index) {
    field = static_cast<Field>(index);
}

// Lists whose second word means "yes" ("off"/"on", "Disable"/"Enable") and
// whose first means "yes" ("Lock"/"Unlock", "1"/"0").
int YesSecond(bool value) { return value ? 1 : 0; }
int YesFirst(bool value) { return value ? 0 : 1; }

}  // namespace

int OptionIndex(const RadioOptions& o, int field) {
    switch (field) {
        case kOptIndication:
            return Index(o.indication);
        case kOptStartMode:
            return Index(o.startMode);
        case kOptMrNumber:
            return o.mrNumber;
        case kOptSquelch:
            return o.squelch;
        case kOptTxPower:
            return Index(o.txPower);
        case kOptDtmfBurstDelay:
            return Index(o.dtmfBurstDelay);
        case kOptDtmfFirstDigit:
            return Index(o.dtmfFirstDigit);
        case kOptDtmfTxInterval:
            return Index(o.dtmfTxInterval);
        case kOptTbstFreq:
            return Index(o.tbstFrequency);
        case kOptTimeoutTimer:
            return o.timeoutTimer;
        case kOptTimeoutPenalty:
            return o.timeoutPenalty ? *o.timeoutPenalty : -1;
        case kOptKeyLock:
            return YesSecond(o.keyLock);
        case kOptApo:
            return YesSecond(o.autoPowerOff);
        case kOptBeep:
            return YesSecond(o.beep);
        case kOptScanningMode:
            return Index(o.scanningMode);
        case kOptLampMode:
            return Index(o.lampMode);
        case kOptSecurityMode:
            return Index(o.securityMode);
        case kOptModelLock:
            return YesFirst(o.modelLock);
        case kOptPowerSelect:
            return Index(o.powerSelect);
        case kOptScrambler:
            return YesFirst(o.scrambler);
        case kOptAftersound:
            return YesFirst(o.aftersound);
        default:
            if (IsPermission(field)) {
                const std::optional<bool>& value = Permission(o, field);
                return value ? YesSecond(*value) : -1;
            }
            return -1;
    }
}

bool SetOptionIndex(RadioOptions& o, int field, int index) {
    if (field < 1 || field > kOptionFieldCount) return false;
    const int limit = IsNumber(field) ? 256 : static_cast<int>(OptionValues(field).size());
    if (index < 0 || index >= limit) return false;
    switch (field) {
        case kOptIndication:
            Store(o.indication, index);
            break;
        case kOptStartMode:
            Store(o.startMode, index);
            break;
        case kOptMrNumber:
            Store(o.mrNumber, index);
            break;
        case kOptSquelch:
            Store(o.squelch, index);
            break;
        case kOptTxPower:
            Store(o.txPower, index);
            break;
        case kOptDtmfBurstDelay:
            Store(o.dtmfBurstDelay, index);
            break;
        case kOptDtmfFirstDigit:
            Store(o.dtmfFirstDigit, index);
            break;
        case kOptDtmfTxInterval:
            Store(o.dtmfTxInterval, index);
            break;
        case kOptTbstFreq:
            Store(o.tbstFrequency, index);
            break;
        case kOptTimeoutTimer:
            Store(o.timeoutTimer, index);
            break;
        case kOptTimeoutPenalty:
            o.timeoutPenalty = static_cast<std::uint8_t>(index);
            break;
        case kOptKeyLock:
            o.keyLock = index == 1;
            break;
        case kOptApo:
            o.autoPowerOff = index == 1;
            break;
        case kOptBeep:
            o.beep = index == 1;
            break;
        case kOptScanningMode:
            Store(o.scanningMode, index);
            break;
        case kOptLampMode:
            Store(o.lampMode, index);
            break;
        case kOptSecurityMode:
            Store(o.securityMode, index);
            break;
        case kOptModelLock:
            o.modelLock = index == 0;
            break;
        case kOptPowerSelect:
            Store(o.powerSelect, index);
            break;
        case kOptScrambler:
            o.scrambler = index == 0;
            break;
        case kOptAftersound:
            o.aftersound = index == 0;
            break;
        default:
            Permission(o, field) = index == 1;
            break;
    }
    return true;
}

std::string OptionWord(const RadioOptions& options, int field) {
    const int index = OptionIndex(options, field);
    if (index < 0) return kOptionPlaceholder;
    if (IsNumber(field)) return std::to_string(index);
    return OptionValues(field).at(static_cast<std::size_t>(index));
}

std::string OptionsRecord(const RadioOptions& options) {
    std::string record = "setup";
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        record += '|';
        record += OptionWord(options, field);
    }
    return record;
}

OptionsRecordResult ParseOptionsRecord(std::string_view record) {
    const std::vector<std::string> pieces = Split(record, '|');
    if (pieces.size() != static_cast<std::size_t>(kRecordPieces)) {
        return {std::nullopt, "it has " + std::to_string(pieces.size()) + " fields where " +
                                  std::to_string(kRecordPieces) + " are needed"};
    }
    RadioOptions options;
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        const std::string& word = pieces[static_cast<std::size_t>(field)];
        if (MayBeEmpty(field) && word == kOptionPlaceholder) {
            if (IsPermission(field)) Permission(options, field).reset();
            if (field == kOptTimeoutPenalty) options.timeoutPenalty.reset();
            continue;
        }
        int index = -1;
        if (IsNumber(field)) {
            bool digits = !word.empty() && word.size() <= 3;
            for (char c : word) digits = digits && c >= '0' && c <= '9';
            if (digits) index = std::stoi(word);
        } else {
            for (std::size_t i = 0; i < OptionValues(field).size(); ++i) {
                if (OptionValues(field)[i] == word) index = static_cast<int>(i);
            }
        }
        if (!SetOptionIndex(options, field, index)) {
            return {std::nullopt, "field " + std::to_string(field) + " holds \"" + word +
                                      "\", which is not one of its values"};
        }
    }
    return {options, {}};
}

std::string AutoDialerRecord(const AutoDialer& dialer) {
    std::string record = "Ad|";
    for (const std::string& entry : dialer.entries) record += entry + "|";
    return record;
}

std::optional<AutoDialer> ParseAutoDialerRecord(std::string_view record) {
    const std::vector<std::string> pieces = Split(record, '|');
    if (pieces.size() != static_cast<std::size_t>(kAutoDialerPieces)) return std::nullopt;
    AutoDialer dialer;
    for (std::size_t i = 0; i < dialer.entries.size(); ++i) dialer.entries[i] = pieces[i + 1];
    return dialer;
}

void PrintTo(const RadioOptions& options, std::ostream* os) { *os << OptionsRecord(options); }
void PrintTo(const AutoDialer& dialer, std::ostream* os) { *os << AutoDialerRecord(dialer); }

}  // namespace qx
