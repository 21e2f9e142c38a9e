#include "codeplug/channel_record.h"

#include <array>
#include <charconv>
#include <string>

#include "codeplug/step_rounding.h"
#include "util/numbers.h"

namespace qx {

std::string RecordMhzText(std::int64_t units) { return FormatScaled(units, 4); }

std::int64_t RecordOffsetUnits(const Frequency& rx, const Frequency& tx) {
    const std::int64_t r = RecordUnits(rx);
    const std::int64_t t = RecordUnits(tx);
    return t > r ? t - r : r - t;
}

bool RecordHoldsRx(const Frequency& rx) { return RecordUnits(rx) < kRecordRxLimitUnits; }

bool RecordHoldsOffset(const Frequency& rx, const Frequency& tx) {
    return RecordOffsetUnits(rx, tx) < kRecordOffsetLimitUnits;
}

Frequency RecordRx(std::int64_t rxUnits) {
    return Frequency::FromHz(rxUnits * kRecordHzPerUnit, 4);
}

Frequency RecordTx(const Frequency& rx, std::int64_t offsetUnits, bool below, Step step) {
    const std::string rxText = rx.ToString();
    float value = 0.0F;
    std::from_chars(rxText.data(), rxText.data() + rxText.size(), value);
    const float offset = static_cast<float>(offsetUnits) / static_cast<float>(kRecordUnitsPerMhz);
    const float sum = below ? value - offset : value + offset;
    std::array<char, 32> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), sum,
                                       std::chars_format::general, 7);
    std::string text(buffer.data(), written.ptr);
    // The 8.33 kHz grid rounds down, and the record has lost the fifth
    // decimal (118.01666 was stored as 118.0166): take the top of the lost
    // range so the frequency comes back on the point it was written from.
    if (const auto parsed = ParseDecimal(text);
        step == Step::k8_33 && parsed && parsed->units >= 0) {
        constexpr std::int64_t kPerTenHz = ScaledDecimal::kScale / 100000;
        text = FormatScaled(parsed->units / kPerTenHz + 9, 5);
    }
    // Below 0 MHz (an offset below Rx larger than Rx) there is no frequency.
    const Frequency tx = Frequency::Parse(AdjustRxFreqByStep(text, StepText(step)))
                             .value_or(Frequency::FromHz(0, 5));
    if (RecordHoldsOffset(rx, tx)) return tx;
    const std::int64_t hz = offsetUnits * kRecordHzPerUnit;
    return Frequency::FromHz(below ? rx.Hz() - hz : rx.Hz() + hz, 4);
}

Frequency ReadBackRx(const Channel& channel) { return RecordRx(RecordUnits(channel.rx)); }

Frequency ReadBackTx(const Channel& channel) {
    const std::int64_t rx = RecordUnits(channel.rx);
    const std::int64_t tx = RecordUnits(channel.tx);
    const Frequency readRx = RecordRx(rx);
    if (tx == rx) return readRx;
    return RecordTx(readRx, tx > rx ? tx - rx : rx - tx, tx < rx, channel.step);
}

int SignalCodeLimit(SignalKind kind) {
    switch (kind) {
        case SignalKind::Dtmf:
        case SignalKind::DtmfAni:
            return 7;
        case SignalKind::TwoTone:
        case SignalKind::FiveTone:
            return 99;
        default:
            return -1;
    }
}

int SignalSubCodeLimit(SignalKind kind) {
    switch (kind) {
        case SignalKind::DtmfAni:
            return 1;
        case SignalKind::FiveTone:
            return 3;
        default:
            return -1;
    }
}

}  // namespace qx
