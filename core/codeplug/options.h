// The radio-wide options and the auto dialer as typed values, with the
// record texts the project file stores them in.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

enum class IndicationMode : std::uint8_t { Frequency, Channel };
enum class StartMode : std::uint8_t { Vfo, Mr, Call };
enum class TxPower : std::uint8_t { High, Mid, Low };
enum class DtmfBurstDelay : std::uint8_t { k1s, k100ms, k400ms, k700ms };
enum class DtmfTime : std::uint8_t { k60ms, k80ms, k160ms, k200ms };
enum class TbstFrequency : std::uint8_t { k1000Hz, k1450Hz, k1750Hz, k2100Hz };
enum class ScanningMode : std::uint8_t { Timer, Busy };
enum class LampMode : std::uint8_t { High, Low };
enum class SecurityMode : std::uint8_t { Off, On, Delay };
enum class PowerSelect : std::uint8_t { k25W, k60W };

// The 27 option fields. Every enum's value is its position in the field's
// list of words. The six permissions and the time-out penalty are empty in
// a new document until the option dialog or a radio sets them; the record
// shows a placeholder for them.
struct RadioOptions {
    IndicationMode indication = IndicationMode::Frequency;
    StartMode startMode = StartMode::Vfo;
    std::uint8_t mrNumber = 0;
    std::uint8_t squelch = 3;
    TxPower txPower = TxPower::High;
    std::optional<bool> scanStart;
    std::optional<bool> powerChange;
    std::optional<bool> keyLockChange;
    std::optional<bool> moniKey;
    std::optional<bool> ctcssDcsChange;
    std::optional<bool> tbstOutput;
    DtmfBurstDelay dtmfBurstDelay = DtmfBurstDelay::k100ms;
    DtmfTime dtmfFirstDigit = DtmfTime::k60ms;
    DtmfTime dtmfTxInterval = DtmfTime::k60ms;
    TbstFrequency tbstFrequency = TbstFrequency::k1750Hz;
    std::uint8_t timeoutTimer = 0;               // 0 off, n: n × 30 s (1..15)
    std::optional<std::uint8_t> timeoutPenalty;  // seconds, 0 off (0..15)
    bool keyLock = false;
    bool autoPowerOff = false;
    bool beep = true;
    ScanningMode scanningMode = ScanningMode::Timer;
    LampMode lampMode = LampMode::High;
    SecurityMode securityMode = SecurityMode::Off;
    bool modelLock = true;
    PowerSelect powerSelect = PowerSelect::k60W;
    bool scrambler = true;
    bool aftersound = false;

    friend bool operator==(const RadioOptions&, const RadioOptions&) = default;
};

// Field by field access in the numbering of the option record (1..27, see
// options/radio_options.h): the position of the field's value in its list
// of words (the number itself for the MR number and the squelch level), or
// -1 for an empty field.
int OptionIndex(const RadioOptions& options, int field);
// Sets a field to a position of its list (any 0..255 for the two numbers);
// false, and nothing changed, when the position is out of range.
bool SetOptionIndex(RadioOptions& options, int field, int index);
// The word a field stores ("Enable", "100ms", "12"), or the placeholder.
std::string OptionWord(const RadioOptions& options, int field);

// The option and auto-dialer records of a new document.
inline constexpr const char* kDefaultSetup =
    "setup|Frequency|VFO|0|3|Hi|----------------|----------------|----------------|"
    "----------------|----------------|----------------|100ms|60ms|60ms|1750Hz|off|"
    "----------------|off|off|Enable|Timer|High|off|Lock|60W|1|0";
inline constexpr const char* kDefaultAutoDial = "Ad||||||||||";

// "setup" and the 27 words joined by "|".
std::string OptionsRecord(const RadioOptions& options);
// The options of a record, or what is wrong with it: "field 7 holds
// \"Maybe\", which is not one of its values".
struct OptionsRecordResult {
    std::optional<RadioOptions> options;
    std::string error;
};
[[nodiscard]] OptionsRecordResult ParseOptionsRecord(std::string_view record);

inline constexpr int kAutoDialerEntries = 9;

// The nine auto-dialer memories as typed by the user.
struct AutoDialer {
    std::array<std::string, kAutoDialerEntries> entries{};
    friend bool operator==(const AutoDialer&, const AutoDialer&) = default;
};

// "Ad", the nine entries, each followed by "|".
std::string AutoDialerRecord(const AutoDialer& dialer);
// nullopt unless the record splits into 11 pieces at "|".
std::optional<AutoDialer> ParseAutoDialerRecord(std::string_view record);

void PrintTo(const RadioOptions& options, std::ostream* os);
void PrintTo(const AutoDialer& dialer, std::ostream* os);

}  // namespace qx
