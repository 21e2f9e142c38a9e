// The radio's programmed data as typed values: the model, the 104 rows of
// channel memory, the radio options, the auto dialer and the signalling
// record. Display words ("Active", "wide", "---") never live here.
#pragma once

#include <array>
#include <iosfwd>
#include <stdexcept>
#include <string>

#include "codeplug/channel.h"
#include "codeplug/options.h"
#include "codeplug/rows.h"
#include "codeplug/signalling_settings.h"

namespace qx {

inline constexpr int kNoModel = -1;

struct Codeplug {
    int model = kNoModel;  // the model table's index 0..31; -1 when none is chosen
    std::array<Channel, kRowCount> rows{};
    RadioOptions options;
    AutoDialer autoDialer;
    SignallingSettings signalling;

    // Rows by their number, 1..104; std::out_of_range outside.
    Channel& Row(int row) { return rows.at(RowIndex(row)); }
    const Channel& Row(int row) const { return rows.at(RowIndex(row)); }
    // Memory channels 0..99.
    Channel& Memory(int channel) { return Row(MemoryRow(channel)); }
    const Channel& Memory(int channel) const { return Row(MemoryRow(channel)); }
    Channel& Pl() { return Row(kPlRow); }
    const Channel& Pl() const { return Row(kPlRow); }
    Channel& Ph() { return Row(kPhRow); }
    const Channel& Ph() const { return Row(kPhRow); }
    Channel& CallChannel() { return Row(kCallRow); }
    const Channel& CallChannel() const { return Row(kCallRow); }
    Channel& Vfo() { return Row(kVfoRow); }
    const Channel& Vfo() const { return Row(kVfoRow); }

    friend bool operator==(const Codeplug&, const Codeplug&) = default;

  private:
    static std::size_t RowIndex(int row) {
        if (row < 1 || row > kRowCount) throw std::out_of_range("row " + std::to_string(row));
        return static_cast<std::size_t>(row - 1);
    }
    static int MemoryRow(int channel) {
        if (channel < 0 || channel >= kChannelRows)
            throw std::out_of_range("channel " + std::to_string(channel));
        return channel + 1;
    }
};

// How messages name a row: "Channel 5", "PL", "PH", "Call channel", "VFO".
std::string RowDisplayName(int row);

void PrintTo(const Codeplug& codeplug, std::ostream* os);

}  // namespace qx
