#include "codeplug/option_fields.h"

#include <array>
#include <stdexcept>

#include "util/text.h"

namespace qx {
namespace {

std::vector<std::string> TimeoutTimerValues() {
    std::vector<std::string> values = {"off"};
    for (int seconds = 30; seconds <= 450; seconds += 30) {
        const int rest = seconds % 60;
        values.push_back(std::to_string(seconds / 60) + "m" + (rest < 10 ? "0" : "") +
                         std::to_string(rest) + "sec");
    }
    return values;
}

std::vector<std::string> PenaltyValues() {
    std::vector<std::string> values = {"off"};
    for (int seconds = 1; seconds <= 15; ++seconds)
        values.push_back(std::to_string(seconds) + "sec");
    return values;
}

std::array<std::vector<std::string>, kOptionFieldCount + 1> BuildValues() {
    const std::vector<std::string> permission = {"Disable", "Enable"};
    const std::vector<std::string> offOn = {"off", "on"};
    const std::vector<std::string> dtmfTime = {"60ms", "80ms", "160ms", "200ms"};
    return {{
        {},
        {"Frequency", "Channel"},
        {"VFO", "MR", "CALL"},
        NumberList(0, 99),
        NumberList(0, 20),
        {"Hi", "Mid", "Low"},
        permission,
        permission,
        permission,
        permission,
        permission,
        permission,
        {"1s", "100ms", "400ms", "700ms"},
        dtmfTime,
        dtmfTime,
        {"1000Hz", "1450Hz", "1750Hz", "2100Hz"},
        TimeoutTimerValues(),
        PenaltyValues(),
        offOn,
        offOn,
        permission,
        {"Timer", "Busy"},
        {"High", "Low"},
        {"off", "on", "Dly"},
        {"Lock", "Unlock"},
        {"25W", "60W"},
        {"1", "0"},
        {"1", "0"},
    }};
}

}  // namespace

bool IsOptionCheckBox(int field) {
    return field == kOptModelLock || field == kOptScrambler || field == kOptAftersound;
}

const std::vector<std::string>& OptionValues(int field) {
    static const std::array<std::vector<std::string>, kOptionFieldCount + 1> values = BuildValues();
    if (field < 1 || field > kOptionFieldCount) {
        throw std::out_of_range("option field " + std::to_string(field));
    }
    return values[static_cast<std::size_t>(field)];
}

std::string JoinOptionRecord(const std::vector<std::string>& fields) {
    std::string record = "setup";
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        record += '|';
        if (static_cast<std::size_t>(field) < fields.size()) {
            record += fields[static_cast<std::size_t>(field)];
        }
    }
    return record;
}

}  // namespace qx
