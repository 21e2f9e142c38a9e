#include "options/option_dialog.h"

#include <stdexcept>

#include "codeplug/value_lists.h"
#include "util/numbers.h"
#include "util/text.h"

namespace qx {
namespace {

constexpr std::array<const char*, kOptionFieldCount + 1> kControlNames = {
    "",
    "Combo_Indication",
    "Combo_VFO",
    "Combo_MRNo",
    "Combo_SQLNo",
    "Combo_TXPOWER",
    "Combo_SCANStart",
    "Combo_TxPowerChange",
    "Combo_KeyLockChange",
    "Combo_MoniKey",
    "Combo_CtcssDosChange",
    "Combo_TBSTOutput",
    "Combo_DTMFburstdelay",
    "Combo_DTMF1stdigit",
    "Combo_DTMFTXinterval",
    "Combo_TBSTFreq",
    "Combo_Timeouttimer",
    "Combo_Timeoutpenalty",
    "Combo_KeyLock",
    "Combo_APO",
    "Combo_Beepsound",
    "Combo_ScanningMode",
    "Combo_LAMPMode",
    "Combo_SeMode",
    "CheckModelLock",
    "Combo_PowerSelect",
    "CheckScrambler",
    "CheckAftersound",
};

std::string OptionText(const LanguageTexts& lang, const char* key) {
    return lang.LanguageText("OPTION", key);
}

// The entries a list shows: language texts for the word lists, the values
// themselves for numbers, times and frequencies.
std::vector<std::string> DisplayEntries(int field, const LanguageTexts& lang) {
    auto texts = [&lang](std::initializer_list<const char*> keys) {
        std::vector<std::string> entries;
        for (const char* key : keys) entries.push_back(OptionText(lang, key));
        return entries;
    };
    std::vector<std::string> entries = OptionValues(field);
    switch (field) {
        case kOptIndication:
            return texts({"60026", "60027"});
        case kOptStartMode:
            return texts({"60028", "60029", "60030"});
        case kOptTxPower:
            return texts({"60031", "60032", "60033"});
        case kOptScanStart:
        case kOptPowerChange:
        case kOptKeyLockChange:
        case kOptMoniKey:
        case kOptCtcssDcsChange:
        case kOptTbstOutput:
        case kOptBeep:
            return texts({"60034", "60035"});
        case kOptKeyLock:
        case kOptApo:
            return texts({"60036", "60037"});
        case kOptSecurityMode:
            return texts({"60036", "60037", "60042"});
        case kOptScanningMode:
            return texts({"60038", "60039"});
        case kOptLampMode:
            return texts({"60040", "60041"});
        case kOptTimeoutTimer:
        case kOptTimeoutPenalty:
            entries.front() = OptionText(lang, "60036");
            return entries;
        default:
            return entries;
    }
}

// The position a stored word selects when it is none of the list's values:
// the second entry, except for the three-way start mode and power, where
// "any other value" means the third.
int OtherWordIndex(int field) { return field == kOptStartMode || field == kOptTxPower ? 2 : 1; }

}  // namespace

std::size_t OptionDialog::Index(int field) {
    if (field < 1 || field > kOptionFieldCount) {
        throw std::out_of_range("option field " + std::to_string(field));
    }
    return static_cast<std::size_t>(field);
}

const char* OptionDialog::ControlName(int field) { return kControlNames.at(Index(field)); }

OptionDialog::OptionDialog(const std::string& record, const LanguageTexts& lang) {
    title_ = OptionText(lang, "6000P");
    okText_ = OptionText(lang, "60024");
    cancelText_ = OptionText(lang, "60025");
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        std::string key;
        if (field <= kOptSecurityMode) {
            key = std::to_string(60000 + field);
        } else {
            key = field == kOptModelLock     ? "60083"
                  : field == kOptPowerSelect ? "60093"
                  : field == kOptScrambler   ? "60094"
                                             : "60095";
        }
        labels_[Index(field)] = OptionText(lang, key.c_str());
        if (!IsOptionCheckBox(field)) lists_[Index(field)].entries = DisplayEntries(field, lang);
    }

    SetInitialState();
    if (record.empty()) return;
    const std::vector<std::string> pieces = Split(record, '|');
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        // A short (damaged) record leaves the missing fields as they start.
        if (static_cast<std::size_t>(field) >= pieces.size()) break;
        ApplyStoredValue(field, pieces[static_cast<std::size_t>(field)]);
    }
}

void OptionDialog::SetInitialState() {
    constexpr std::array<int, kOptionFieldCount + 1> kInitialIndex = {
        0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0, -1, 0, -1, -1};
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        if (kInitialIndex[Index(field)] >= 0) Select(field, kInitialIndex[Index(field)]);
    }
    SetChecked(kOptModelLock, false);
    SetChecked(kOptScrambler, true);
    SetChecked(kOptAftersound, false);
    for (int field = kFirstPermissionField; field <= kLastPermissionField; ++field) {
        lists_[Index(field)].Show(kOptionPlaceholder);
    }
    lists_[Index(kOptTimeoutPenalty)].Show(kOptionPlaceholder);
}

void OptionDialog::ApplyStoredValue(int field, const std::string& value) {
    const std::vector<std::string>& values = OptionValues(field);
    if (IsOptionCheckBox(field)) {
        // Model lock: only "Unlock" clears the box; the others: only "1" checks it.
        SetChecked(field, field == kOptModelLock ? value != "Unlock" : value == "1");
        return;
    }
    const int found = ListIndexOf(values, value);
    int index = 0;
    switch (field) {
        case kOptMrNumber:
        case kOptSquelch: {
            // A number outside the list (MR above 99, squelch above 20, not
            // a number at all) selects the first entry, "0".
            const std::optional<long long> number = ParseInteger(Trim(value));
            const bool inList =
                number && *number >= 0 && *number < static_cast<long long>(values.size());
            index = inList ? static_cast<int>(*number) : 0;
            break;
        }
        case kOptDtmfBurstDelay:
        case kOptDtmfFirstDigit:
        case kOptDtmfTxInterval:
        case kOptTbstFreq:
        case kOptTimeoutTimer:
            // A value the list does not offer selects its first entry.
            index = found >= 0 ? found : 0;
            break;
        case kOptTimeoutPenalty: {
            // "5sec" selects the fifth step; anything else (the placeholder,
            // a penalty beyond the list) selects "off".
            if (value == "off" || value.size() < 3) break;
            const std::optional<long long> seconds =
                ParseInteger(Trim(value.substr(0, value.size() - 3)));
            if (seconds && *seconds >= 0 && *seconds < static_cast<long long>(values.size())) {
                index = static_cast<int>(*seconds);
            }
            break;
        }
        case kOptSecurityMode:
            index = found >= 0 ? found : 1;
            break;
        default:
            index = found >= 0 ? found : OtherWordIndex(field);
            break;
    }
    Select(field, index);
}

void OptionDialog::Select(int field, int index) {
    ListControl& list = lists_.at(Index(field));
    if (IsOptionCheckBox(field) || !list.Select(index)) return;
    fields_[Index(field)] = OptionValues(field)[static_cast<std::size_t>(index)];

    if (field == kOptIndication) {
        const bool frequencyMode = index == 0;
        ListControl& startMode = lists_[Index(kOptStartMode)];
        startMode.enabled = frequencyMode;
        if (frequencyMode) {
            // The start mode shows the value it keeps.
            startMode.Show(ListItemOrFirst(
                startMode.entries,
                ListIndexOf(OptionValues(kOptStartMode), fields_[Index(kOptStartMode)])));
        } else {
            startMode.Show(kOptionPlaceholder);
        }
        for (int permission = kFirstPermissionField; permission <= kLastPermissionField;
             ++permission) {
            Select(permission, frequencyMode ? 1 : 0);
            lists_[Index(permission)].enabled = !frequencyMode;
        }
    } else if (field == kOptTimeoutTimer) {
        ListControl& penalty = lists_[Index(kOptTimeoutPenalty)];
        if (index == 0) {
            penalty.Show(kOptionPlaceholder);
            penalty.enabled = false;
            fields_[Index(kOptTimeoutPenalty)] = "off";
        } else {
            // The penalty shows the value it keeps ("off" after the timer was off).
            penalty.Show(ListItemOrFirst(
                penalty.entries,
                ListIndexOf(OptionValues(kOptTimeoutPenalty), fields_[Index(kOptTimeoutPenalty)])));
            penalty.enabled = true;
        }
    }
}

void OptionDialog::SetChecked(int field, bool checked) {
    if (!IsOptionCheckBox(field)) return;
    checked_[Index(field)] = checked;
    fields_[Index(field)] = OptionValues(field)[checked ? 0 : 1];
}

std::string OptionDialog::Record() const {
    return JoinOptionRecord(std::vector<std::string>(fields_.begin(), fields_.end()));
}

void OptionDialog::Ok(Document& doc) const {
    const OptionsRecordResult options = ParseOptionsRecord(Record());
    if (!options.options) return;  // every field holds one of its words
    doc.Change(StepLabel{StepKind::Options},
               [&](Codeplug& codeplug) { codeplug.options = *options.options; });
}

}  // namespace qx
