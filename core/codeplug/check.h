// The check a codeplug passes before it is written: what the radio cannot
// take or the image would silently change (errors, which stop a write), and
// what is likely a slip (warnings, shown before the write goes on).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "codeplug/codeplug.h"
#include "codeplug/models.h"

namespace qx {

enum class CheckSeverity { Error, Warning };

enum class CheckKind {
    // Errors
    RxOutOfBand,              // text: Rx; low, high: the band
    TxOutOfBand,              // text: Tx; low, high: the band
    RxNotStorable,            // text: Rx; high: the highest the record holds
    OffsetNotStorable,        // text: the offset; high: the largest the record holds
    FrequencyNotExact,        // text: as it is; other: what a read gives back
    NameCharacter,            // text: the name; other: the character
    NameTooLong,              // text: the name; number: the length it may have
    SignalCodeOutOfList,      // text: the signal; number: the code; low, high: its list
    SignalSubCodeOutOfList,   // the same for the second choice
    PriorityNotInUse,         // otherRow: the row named
    EmergencyCallNotInUse,    // otherRow: the channel the call is bound to
    DialCharacter,            // text: the entry; other: the character
    DialTooLong,              // text: the entry; number: the length it may have
    FiveToneCodeNotStorable,  // text: the code; number: the digits it may have
    OptionOutOfList,          // number: the value; low, high: the list
    // Warnings
    SameName,              // text: the name; otherRow: where it is first
    SameRxFrequency,       // text: Rx; otherRow: where it is first
    TxToneWithoutRxTone,   // text: the Tx tone
    SignalCodeEmpty,       // text: the signal
    ScanLimitsReversed,    // text: PL's Rx; other: PH's Rx
    StartChannelNotInUse,  // otherRow: the channel the radio starts on
};

// What a problem concerns: a channel row's field, or a part of the option
// and signalling records with its item.
enum class CheckArea { Channel, Options, AutoDialer, FiveTone };

// Items of the 5-tone area besides the code table's rows 0..99.
inline constexpr int kCheckPttIdBegin = 100;
inline constexpr int kCheckPttIdEnd = 101;
inline constexpr int kCheckSelfId = 102;

struct CheckProblem {
    CheckSeverity severity = CheckSeverity::Error;
    CheckKind kind = CheckKind::RxOutOfBand;
    CheckArea area = CheckArea::Channel;
    int row = 0;                              // Channel: 1..104, as Codeplug::Row numbers them
    ChannelField field = ChannelField::Name;  // Channel
    int item = 0;  // Options: the field 1..27; AutoDialer: 0..8; FiveTone: see above
    // The values the message names (which ones, see CheckKind).
    std::string text;
    std::string other;
    std::string low;
    std::string high;
    int number = 0;
    int otherRow = 0;

    bool IsError() const { return severity == CheckSeverity::Error; }
    friend bool operator==(const CheckProblem&, const CheckProblem&) = default;
};

using CheckProblems = std::vector<CheckProblem>;

// Every problem of `codeplug` for `model` (nullptr: no band checks), errors
// and warnings in one list: channel rows in order, then the options, the
// auto dialer and the 5-tone record. Channel rules apply to rows in use
// (the call channel and the VFO always are); what the record cannot store
// also to the rows a write sends out of use (PL and PH).
[[nodiscard]] CheckProblems CheckCodeplug(const Codeplug& codeplug, const ModelInfo* model);
// The same for the codeplug's own model.
[[nodiscard]] CheckProblems CheckCodeplug(const Codeplug& codeplug);

bool HasErrors(const CheckProblems& problems);

// The band limits as a check names them: the low end as written, the high
// end rounded up to whole MHz (136–174, 400–470).
std::string BandLowText(const Band& band);
std::string BandHighText(const Band& band);

void PrintTo(const CheckProblem& problem, std::ostream* os);

}  // namespace qx
